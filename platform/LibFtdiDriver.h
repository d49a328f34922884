#pragma once

#include <string>
#include <utility>

#include "platform/UsbDriver.h"

// The real instrument through libftdi1: the device with the given serial
// number, or the first one with one of the usual FTDI product ids. The port is used as libftdi
// opens it (a chip reset and the chip's own default of 9600 baud): no baud rate, latency or flow
// control is set here.
class TLibFtdiDriver : public TUsbDriver {
  public:
    // A reply missing this long is a failed read, never a hang.
    static constexpr int kReadTimeoutMs = 1000;

    // An empty serial takes the first device.
    explicit TLibFtdiDriver(std::string serial = {}) : serial_(std::move(serial)) {}

    FT_STATUS FT_Open(int deviceNumber, FT_HANDLE& handle) override;
    FT_STATUS FT_Close(FT_HANDLE handle) override;
    FT_STATUS FT_Write(FT_HANDLE handle, const uint8_t* data, uint32_t count,
                       uint32_t& written) override;
    FT_STATUS FT_Read(FT_HANDLE handle, uint8_t* buffer, uint32_t count, uint32_t& read) override;
    TOpenFailure OpenFailure() const override { return openFailure_; }

  private:
    std::string serial_;
    TOpenFailure openFailure_ = ofUnknown;
};
