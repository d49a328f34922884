#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/UsbDriver.h"
#include "sim/FrameDecoder.h"

// A USB driver that plays the instrument: what is written to it is decoded
// into the instrument state (TFrameDecoder), and the ADC read is answered with
// four bytes, most significant first. Faults can be injected for tests and
// demonstrations; writes and reads are counted from 1 over the driver's life.
//
// A transfer that goes wrong leaves the instrument's receiver without the rest
// of an unfinished frame or block; it drops what it had (its receive timeout),
// so the next transfer starts on a frame boundary again.
class TVirtualInstrument : public TUsbDriver {
  public:
    FT_STATUS FT_Open(int deviceNumber, FT_HANDLE& handle) override;
    FT_STATUS FT_Close(FT_HANDLE handle) override;
    FT_STATUS FT_Write(FT_HANDLE handle, const uint8_t* data, uint32_t count,
                       uint32_t& written) override;
    FT_STATUS FT_Read(FT_HANDLE handle, uint8_t* buffer, uint32_t count, uint32_t& read) override;

    // Faults. FailOpen holds for every open until FailOpen(FT_OK).
    void FailOpen(FT_STATUS status = FT_DEVICE_NOT_FOUND) { openResult_ = status; }
    void FailWrite(int64_t k, FT_STATUS status = FT_IO_ERROR) { writeFailures_[k] = status; }
    // The k-th write reports success but one byte fewer, and only those bytes arrive.
    void ShortWrite(int64_t k) { shortWrites_[k] = true; }
    void FailRead(int64_t k, FT_STATUS status = FT_IO_ERROR) { readFailures_[k] = status; }

    // ADC answer: a fixed value, or (by default) one that drifts with every
    // read so that a tuning display moves: through the tuning range around
    // the carrier of a tuned channel.
    void SetADCValue(uint32_t value) { fixedAdc_ = value; }
    void SetADCDrifting() { fixedAdc_.reset(); }

    // The frequency at the external reference input, used once the instrument
    // is told a multiplier (25 MHz unless set).
    void SetExternalRefMHz(double mhz) { decoder_.SetExternalRefMHz(mhz); }

    // What the instrument holds.
    const TInstrumentState& State() const { return decoder_.State(); }
    double ClockMHz() const { return decoder_.State().ClockMHz(); }
    // "key=value" lines (see StateReport.h).
    std::vector<std::string> StateLines() const;
    std::size_t ProtocolErrorCount() const { return decoder_.ProtocolErrorCount(); }
    const std::vector<std::string>& ProtocolErrors() const { return decoder_.ProtocolErrors(); }
    uint64_t FrameCount() const { return decoder_.FrameCount(); }

    bool IsOpen() const { return open_; }
    int64_t WriteCount() const { return writeCount_; }
    int64_t ReadCount() const { return readCount_; }

    TVirtualInstrument();

  private:
    void AnswerADC();
    uint32_t NextDriftValue();

    TFrameDecoder decoder_;
    std::deque<uint8_t> replies_;
    std::optional<uint32_t> fixedAdc_;
    uint32_t driftStep_ = 0;

    FT_STATUS openResult_ = FT_OK;
    std::map<int64_t, FT_STATUS> writeFailures_;
    std::map<int64_t, bool> shortWrites_;
    std::map<int64_t, FT_STATUS> readFailures_;
    // Wide enough for a run of simulated time that never ends.
    int64_t writeCount_ = 0;
    int64_t readCount_ = 0;
    bool open_ = false;
};
