#pragma once

#include <cstdint>

#include "monitor/TransferRing.h"
#include "platform/TickSource.h"
#include "platform/UsbDriver.h"
#include "sim/TraceDriver.h"

// A driver that passes every call on to another one and records each transfer
// (command frame, data block, read) with its time since the link was opened,
// in a bounded ring. It changes nothing on the wire, so the same tap sits in
// front of the real and the virtual instrument.
class TLinkTap : public TUsbDriver {
  public:
    TLinkTap(TUsbDriver& inner, TTickSource& ticks,
             std::size_t capacity = TTransferRing::kDefaultCapacity);

    FT_STATUS FT_Open(int deviceNumber, FT_HANDLE& handle) override;
    FT_STATUS FT_Close(FT_HANDLE handle) override;
    FT_STATUS FT_Write(FT_HANDLE handle, const uint8_t* data, uint32_t count,
                       uint32_t& written) override;
    FT_STATUS FT_Read(FT_HANDLE handle, uint8_t* buffer, uint32_t count, uint32_t& read) override;
    TOpenFailure OpenFailure() const override { return trace_.OpenFailure(); }

    // While off, transfers pass without being recorded.
    void SetRecording(bool on) { recording_ = on; }
    bool Recording() const { return recording_; }

    TTransferRing& Ring() { return ring_; }
    const TTransferRing& Ring() const { return ring_; }

  private:
    TTraceDriver trace_;
    TTickSource& ticks_;
    TTransferRing ring_;
    uint32_t openedAt_ = 0;
    bool recording_ = true;
};
