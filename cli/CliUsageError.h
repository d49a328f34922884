#pragma once

#include "platform/Exceptions.h"

// A command line the tool cannot run: an unknown option, step, path or
// enumerator, or a malformed value. Found before any step runs.
class ECliUsageError : public Exception {
    using Exception::Exception;
};
