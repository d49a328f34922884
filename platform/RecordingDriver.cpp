#include "platform/RecordingDriver.h"

#include <algorithm>

#include "platform/HexBytes.h"

namespace {
constexpr FT_HANDLE kHandle = 0x2A;
}

FT_STATUS TRecordingDriver::FT_Open(int, FT_HANDLE& handle) {
    calls_.push_back({ckOpen, {}, openResult_});
    if (openResult_ != FT_OK) return openResult_;
    handle = kHandle;
    open_ = true;
    return FT_OK;
}

FT_STATUS TRecordingDriver::FT_Close(FT_HANDLE handle) {
    const FT_STATUS result = handle == kHandle ? closeResult_ : FT_INVALID_HANDLE;
    calls_.push_back({ckClose, {}, result});
    if (result == FT_OK) open_ = false;
    return result;
}

FT_STATUS TRecordingDriver::FT_Write(FT_HANDLE handle, const uint8_t* data, uint32_t count,
                                     uint32_t& written) {
    const int k = ++writeCount_;
    written = 0;
    FT_STATUS result = handle == kHandle ? FT_OK : FT_INVALID_HANDLE;
    if (auto it = writeFailures_.find(k); it != writeFailures_.end()) result = it->second;
    if (result == FT_OK) written = shortWrites_.count(k) && count > 0 ? count - 1 : count;
    calls_.push_back({ckWrite, std::vector<uint8_t>(data, data + count), result});
    return result;
}

FT_STATUS TRecordingDriver::FT_Read(FT_HANDLE handle, uint8_t* buffer, uint32_t count,
                                    uint32_t& read) {
    const int k = ++readCount_;
    read = 0;
    FT_STATUS result = handle == kHandle ? FT_OK : FT_INVALID_HANDLE;
    if (auto it = readFailures_.find(k); it != readFailures_.end()) result = it->second;
    std::vector<uint8_t> answered;
    if (result == FT_OK && !reads_.empty()) {
        answered = std::move(reads_.front());
        reads_.pop_front();
        read = static_cast<uint32_t>(std::min<std::size_t>(answered.size(), count));
        std::copy_n(answered.begin(), read, buffer);
        answered.resize(read);
    }
    calls_.push_back({ckRead, answered, result});
    return result;
}

std::vector<std::string> TRecordingDriver::WritesHex() const {
    std::vector<std::string> out;
    for (const auto& call : calls_)
        if (call.kind == ckWrite) out.push_back(ToHex(call.bytes));
    return out;
}
