#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/UsbDriver.h"

// Test double: records every call, can fail chosen calls or write short, and
// answers reads from a script. Writes and reads are counted from 1.
class TRecordingDriver : public TUsbDriver {
  public:
    enum TCallKind : int32_t { ckOpen, ckClose, ckWrite, ckRead };
    struct TCall {
        TCallKind kind;
        std::vector<uint8_t> bytes;  // written, or read back
        FT_STATUS result;
    };

    FT_STATUS FT_Open(int deviceNumber, FT_HANDLE& handle) override;
    FT_STATUS FT_Close(FT_HANDLE handle) override;
    FT_STATUS FT_Write(FT_HANDLE handle, const uint8_t* data, uint32_t count,
                       uint32_t& written) override;
    FT_STATUS FT_Read(FT_HANDLE handle, uint8_t* buffer, uint32_t count, uint32_t& read) override;
    TOpenFailure OpenFailure() const override { return openFailure_; }

    // Script.
    void FailOpen(FT_STATUS status, TOpenFailure cause = ofUnknown) {
        openResult_ = status;
        openFailure_ = cause;
    }
    void FailClose(FT_STATUS status) { closeResult_ = status; }
    void FailWrite(int k, FT_STATUS status = FT_IO_ERROR) { writeFailures_[k] = status; }
    void ShortWrite(int k) { shortWrites_[k] = true; }
    void FailRead(int k, FT_STATUS status = FT_IO_ERROR) { readFailures_[k] = status; }
    void QueueRead(std::vector<uint8_t> bytes) { reads_.push_back(std::move(bytes)); }

    // What happened.
    const std::vector<TCall>& Calls() const { return calls_; }
    // Every write as hex, one string per write call.
    std::vector<std::string> WritesHex() const;
    int WriteCount() const { return writeCount_; }
    int ReadCount() const { return readCount_; }
    bool IsOpen() const { return open_; }
    void Clear() { calls_.clear(); }

  private:
    std::vector<TCall> calls_;
    FT_STATUS openResult_ = FT_OK;
    TOpenFailure openFailure_ = ofUnknown;
    FT_STATUS closeResult_ = FT_OK;
    std::map<int, FT_STATUS> writeFailures_;
    std::map<int, bool> shortWrites_;
    std::map<int, FT_STATUS> readFailures_;
    std::deque<std::vector<uint8_t>> reads_;
    int writeCount_ = 0;
    int readCount_ = 0;
    bool open_ = false;
};
