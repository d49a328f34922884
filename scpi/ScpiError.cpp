#include "scpi/ScpiError.h"

const char* ScpiErrorText(int code) {
    switch (code) {
        case seNoError:
            return "No error";
        case seCommandError:
            return "Command error";
        case seSyntaxError:
            return "Syntax error";
        case seParameterNotAllowed:
            return "Parameter not allowed";
        case seMissingParameter:
            return "Missing parameter";
        case seUndefinedHeader:
            return "Undefined header";
        case seHeaderSuffixOutOfRange:
            return "Header suffix out of range";
        case seInvalidSuffix:
            return "Invalid suffix";
        case seExecutionError:
            return "Execution error";
        case seSettingsConflict:
            return "Settings conflict";
        case seDataOutOfRange:
            return "Data out of range";
        case seTooMuchData:
            return "Too much data";
        case seIllegalParameterValue:
            return "Illegal parameter value";
        case seHardwareError:
            return "Hardware error";
        case seQueueOverflow:
            return "Queue overflow";
        default:
            return "Error";
    }
}
