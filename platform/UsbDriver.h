#pragma once

#include <cstdint>

#include "platform/FtStatus.h"
#include "platform/OpenFailure.h"

// The four driver calls the instrument link needs. Implemented by the libftdi1
// driver (the real instrument), the virtual instrument and the test double.
class TUsbDriver {
  public:
    virtual ~TUsbDriver() = default;

    // Opens device `deviceNumber` (the link always asks for 0).
    virtual FT_STATUS FT_Open(int deviceNumber, FT_HANDLE& handle) = 0;
    virtual FT_STATUS FT_Close(FT_HANDLE handle) = 0;
    virtual FT_STATUS FT_Write(FT_HANDLE handle, const uint8_t* data, uint32_t count,
                               uint32_t& written) = 0;
    // Reads exactly `count` bytes or fails; `read` tells how many arrived.
    virtual FT_STATUS FT_Read(FT_HANDLE handle, uint8_t* buffer, uint32_t count,
                              uint32_t& read) = 0;

    // Why the last FT_Open failed, for a driver that can tell.
    virtual TOpenFailure OpenFailure() const { return ofUnknown; }
};
