#include "monitor/LinkTap.h"

TLinkTap::TLinkTap(TUsbDriver& inner, TTickSource& ticks, std::size_t capacity)
    : trace_(inner), ticks_(ticks), ring_(capacity) {
    trace_.OnTransfer = [this](const TTraceDriver::TTransfer& t) {
        if (recording_) ring_.Push(ticks_.GetTickCount() - openedAt_, t);
    };
}

FT_STATUS TLinkTap::FT_Open(int deviceNumber, FT_HANDLE& handle) {
    const FT_STATUS status = trace_.FT_Open(deviceNumber, handle);
    if (status == FT_OK) openedAt_ = ticks_.GetTickCount();
    return status;
}

FT_STATUS TLinkTap::FT_Close(FT_HANDLE handle) {
    return trace_.FT_Close(handle);
}

FT_STATUS TLinkTap::FT_Write(FT_HANDLE handle, const uint8_t* data, uint32_t count,
                             uint32_t& written) {
    return trace_.FT_Write(handle, data, count, written);
}

FT_STATUS TLinkTap::FT_Read(FT_HANDLE handle, uint8_t* buffer, uint32_t count, uint32_t& read) {
    return trace_.FT_Read(handle, buffer, count, read);
}
