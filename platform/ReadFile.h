#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// How ReadRegularFile ended.
enum TReadResult : int32_t {
    rdOk,
    rdMissing,     // no such file, or a folder on its path is missing
    rdCannotOpen,  // it cannot be opened, or it is not a regular file (a folder,
                   // a FIFO, a device, a symbolic link loop)
    rdReadFailed,  // opened, but reading it failed
};

// Reads at most `maxBytes` of the regular file at `path` into `data`; a
// symbolic link is followed to the file it names. The file is opened without
// blocking, so a FIFO or a device given as the name is refused at once instead
// of waiting for a writer that never comes.
TReadResult ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& data);
