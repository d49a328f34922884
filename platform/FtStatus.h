#pragma once

#include <cstdint>

// Status of a USB driver call. Codes the driver returns outside this list are
// kept as they come, which the fixed underlying type allows.
enum FT_STATUS : int32_t {
    FT_OK = 0,
    FT_INVALID_HANDLE = 1,
    FT_DEVICE_NOT_FOUND = 2,
    FT_DEVICE_NOT_OPENED = 3,
    FT_IO_ERROR = 4,
    FT_INSUFFICIENT_RESOURCES = 5,
};

// Opaque handle of an open device; 0 while closed.
using FT_HANDLE = std::uintptr_t;
