// The settings loader on any file, in a connected generator on the virtual
// instrument: the load, an update cycle and a second of timers end (a link
// error is an answer too). A file that loads whole then survives a round
// trip: its saved set-up, loaded into a fresh generator, saves to the same
// bytes.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gen4/ZyGen4.h"
#include "platform/Exceptions.h"
#include "platform/FakeTickSource.h"
#include "platform/ManualTimerHost.h"
#include "sim/VirtualInstrument.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

std::vector<char> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

template <typename F>
void Attempt(F action) {
    try {
        action();
    } catch (const Exception&) {
        // The instrument refused something the file asked for; no crash, no hang.
    }
}

struct TBench {
    TVirtualInstrument sim;
    TFakeTickSource ticks;
    TManualTimerHost timers;
    TZyGen4 gen{nullptr, sim, ticks, timers};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string dir = ScratchDir();
    const std::string input = dir + "/input.zg4", first = dir + "/first.zg4",
                      second = dir + "/second.zg4";
    std::ofstream(input, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    TBench bench;
    TZyGen4& gen = bench.gen;
    gen.SetActive(true);
    bool whole = false;
    Attempt([&] { whole = gen.LoadFromFile(input); });
    Attempt([&] { gen.UpdateMode(); });
    Attempt([&] { bench.timers.Advance(1000); });
    if (!whole) return 0;

    gen.SaveToFile(first);
    TBench fresh;
    fresh.gen.SetAutoUpdate(false);
    Check(fresh.gen.LoadFromFile(first), "a saved set-up loads whole");
    fresh.gen.SaveToFile(second);
    Check(ReadAll(first) == ReadAll(second), "save, load, save gives the same bytes");
    return 0;
}
