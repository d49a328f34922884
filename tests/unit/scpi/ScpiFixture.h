#pragma once

#include <string>
#include <vector>

#include "platform/RecordingDriver.h"
#include "scpi/ScpiEngine.h"
#include "tests/fixtures/GeneratorOn.h"

// A SCPI engine over a generator on the recording driver (not connected until
// a test says so).
class ScpiFixture : public GeneratorOn<TRecordingDriver> {
  protected:
    TScpiEngine engine{*gen, {"ZyPanel", "TAYRA-9", "0", "1.2.3"}};

    // The response without its line end.
    std::string Run(const std::string& message) {
        std::string r = engine.Execute(message);
        if (!r.empty()) {
            EXPECT_EQ(r.back(), '\n') << message;
            r.pop_back();
        }
        return r;
    }

    // Every entry of the error queue, oldest first, which empties it.
    std::vector<std::string> Errors() {
        std::vector<std::string> all;
        while (engine.Errors().Count() > 0) all.push_back(engine.Errors().Next());
        return all;
    }

    // The codes of every entry of the error queue.
    std::vector<int> ErrorCodes() {
        std::vector<int> codes;
        for (const auto& e : Errors()) codes.push_back(std::stoi(e));
        return codes;
    }
};
