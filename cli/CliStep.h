#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "props/PropertyValue.h"

struct TPropertyDef;

// One step of a zygen4 command line, parsed and checked before anything runs.
struct TCliStep {
    enum TKind : int32_t {
        skSet,     // PATH=VALUE
        skGet,     // PATH?
        skUpdate,  // update
        skSave,    // save FILE
        skLoad,    // load FILE
        skAdc,     // adc A|B
        skWait,    // wait MS
        skState,   // state
    };

    TKind kind = skUpdate;
    std::string text;                    // the step as written, for messages
    const TPropertyDef* prop = nullptr;  // skSet, skGet
    TPropertyValue value;                // skSet
    std::string file;                    // skSave, skLoad
    bool channelA = true;                // skAdc
    uint32_t ms = 0;                     // skWait
};

// Reads the steps from the command-line words that follow the options. Throws
// ECliUsageError naming the first word that is not a valid step.
std::vector<TCliStep> ParseSteps(const std::vector<std::string>& words);
