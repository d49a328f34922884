#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/UsbDriver.h"
#include "sim/WireSplitter.h"

// Passes every call on to another driver and reports each transfer: command
// frames and data blocks (told apart by following the framing of the stream,
// since both go through the same write call) and the bytes read.
class TTraceDriver : public TUsbDriver {
  public:
    enum TTransferKind : int32_t { tkCommand, tkData, tkRead };
    struct TTransfer {
        TTransferKind kind;
        std::vector<uint8_t> bytes;  // written or asked to write; or read
        bool ok;                     // the call succeeded with every byte
    };

    explicit TTraceDriver(TUsbDriver& inner) : inner_(inner) {}

    FT_STATUS FT_Open(int deviceNumber, FT_HANDLE& handle) override;
    FT_STATUS FT_Close(FT_HANDLE handle) override;
    FT_STATUS FT_Write(FT_HANDLE handle, const uint8_t* data, uint32_t count,
                       uint32_t& written) override;
    FT_STATUS FT_Read(FT_HANDLE handle, uint8_t* buffer, uint32_t count, uint32_t& read) override;
    TOpenFailure OpenFailure() const override { return inner_.OpenFailure(); }

    // Called once per transfer (a write holding a frame and its data block
    // reports both, frame first).
    std::function<void(const TTransfer&)> OnTransfer;

    // "C F0 00 00 00 00 00", "D 01 02", "R 12 34 56 78"; a failed transfer ends
    // with " !".
    static std::string FormatLine(const TTransfer& transfer);

  private:
    TUsbDriver& inner_;
    TWireSplitter splitter_;
};
