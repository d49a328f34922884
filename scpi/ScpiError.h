#pragma once

#include <string>

// Error codes of the error queue (SCPI-99 and IEEE 488.2).
enum TScpiErrorCode : int {
    seNoError = 0,
    seCommandError = -100,
    seSyntaxError = -102,
    seParameterNotAllowed = -108,
    seMissingParameter = -109,
    seUndefinedHeader = -113,
    seHeaderSuffixOutOfRange = -114,
    seInvalidSuffix = -131,
    seExecutionError = -200,
    seSettingsConflict = -221,
    seDataOutOfRange = -222,
    seTooMuchData = -223,
    seIllegalParameterValue = -224,
    seHardwareError = -240,
    seQueueOverflow = -350,
};

// The standard text of a code ("Data out of range").
const char* ScpiErrorText(int code);

// A command that fails: the code and what it concerns (a property path, the
// link's message), appended to the standard text after ';'.
struct TScpiError {
    int code;
    std::string detail;
};
