#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// How ReplaceFile ended.
enum TReplaceResult : int32_t {
    rfOk,
    rfCannotOpen,   // no file to write: empty name, a folder or other special
                    // file, a file we may not write, a symbolic link loop, or
                    // no temporary file could be made beside it
    rfWriteFailed,  // writing the temporary file or renaming it failed
};

// Gives the file at `path` the contents `data` in one step: the bytes go to a
// temporary file in the same folder, which is renamed over the old file only
// once it is complete, so on any failure the old file stays as it was. A
// symbolic link is written through to the file it names, which is created
// when the link dangles; a link loop cannot be written. The new file keeps
// the old one's owner and permissions. On rfWriteFailed `err` holds the errno
// value of the cause (EFBIG at the file-size limit, provided SIGXFSZ is
// ignored: see IgnoreFileSizeSignal).
TReplaceResult ReplaceFile(const std::string& path, const uint8_t* data, std::size_t count,
                           int& err);
