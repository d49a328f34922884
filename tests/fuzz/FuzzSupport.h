#pragma once

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

// Shared by the fuzz targets: a failed expectation aborts with a message, so
// libFuzzer keeps the input that caused it.
inline void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

// A private scratch folder for the files a target writes, made once per
// process and removed when it exits: in memory (/dev/shm) when the system has
// it, so that the fsync of every save costs nothing; otherwise under the
// temporary folder.
inline const std::string& ScratchDir() {
    // Kept on the heap for good: the folder is removed at exit, after the
    // static objects are gone.
    static const std::string* const dir = [] {
        const char* const bases[] = {"/dev/shm", std::getenv("TMPDIR"), "/tmp"};
        for (const char* base : bases) {
            if (!base || !*base) continue;
            auto* made = new std::string(std::string(base) + "/zy-fuzz-XXXXXX");
            if (!::mkdtemp(made->data())) {
                delete made;
                continue;
            }
            std::atexit([] { std::filesystem::remove_all(ScratchDir()); });
            return made;
        }
        std::fprintf(stderr, "no scratch folder\n");
        std::abort();
    }();
    return *dir;
}
