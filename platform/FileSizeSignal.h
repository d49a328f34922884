#pragma once

// Makes a write past the file-size limit (ulimit -f) fail with EFBIG instead
// of killing the process with SIGXFSZ, so a save reports the cause and removes
// its temporary file as it does for a full disk. Both programs call it first
// thing in main.
void IgnoreFileSizeSignal();
