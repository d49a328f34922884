#include "platform/LibFtdiDriver.h"

#include <libftdi1/ftdi.h>

#include <chrono>
#include <thread>

#include "platform/LibFtdiDevices.h"

namespace {

ftdi_context* Context(FT_HANDLE handle) {
    return reinterpret_cast<ftdi_context*>(handle);
}

}  // namespace

FT_STATUS TLibFtdiDriver::FT_Open(int deviceNumber, FT_HANDLE& handle) {
    openFailure_ = ofUnknown;
    ftdi_context* ftdi = ftdi_new();
    if (!ftdi) return FT_INSUFFICIENT_RESOURCES;

    // Vendor and product 0 make libftdi look for the usual FTDI ids.
    ftdi_device_list* devices = nullptr;
    const int found = ftdi_usb_find_all(ftdi, &devices, 0, 0);
    ftdi_device_list* entry = found > 0 ? devices : nullptr;
    if (serial_.empty()) {
        for (int i = 0; entry && i < deviceNumber; ++i) entry = entry->next;
        if (deviceNumber < 0) entry = nullptr;
    } else {
        while (entry && DescribeFtdiDevice(ftdi, entry->dev).serial != serial_) entry = entry->next;
    }
    if (!entry) {
        ftdi_list_free(&devices);
        ftdi_free(ftdi);
        openFailure_ = OpenFailureFromFind(found);
        // A negative count means the USB stack itself failed.
        return found < 0 ? FT_DEVICE_NOT_OPENED : FT_DEVICE_NOT_FOUND;
    }
    const int opened = ftdi_usb_open_dev(ftdi, entry->dev);
    ftdi_list_free(&devices);
    if (opened < 0) {
        // The device is there but could not be taken: permissions, another
        // program or the kernel's serial driver holding it, or a failed set-up.
        ftdi_free(ftdi);
        openFailure_ = OpenFailureFromOpenDev(opened);
        return FT_DEVICE_NOT_OPENED;
    }
    // A host-side limit only (the chip is not told): one USB read never waits
    // longer than a whole reply may take.
    ftdi->usb_read_timeout = kReadTimeoutMs;
    handle = reinterpret_cast<FT_HANDLE>(ftdi);
    return FT_OK;
}

FT_STATUS TLibFtdiDriver::FT_Close(FT_HANDLE handle) {
    if (!handle) return FT_INVALID_HANDLE;
    // libftdi closes the USB device even when releasing its interface fails,
    // as it does for an unplugged instrument, so the handle is gone either
    // way; reporting a failure would keep a link open that no longer exists.
    ftdi_usb_close(Context(handle));
    ftdi_free(Context(handle));
    return FT_OK;
}

FT_STATUS TLibFtdiDriver::FT_Write(FT_HANDLE handle, const uint8_t* data, uint32_t count,
                                   uint32_t& written) {
    written = 0;
    if (!handle) return FT_INVALID_HANDLE;
    const int result = ftdi_write_data(Context(handle), data, static_cast<int>(count));
    if (result < 0) return FT_IO_ERROR;
    written = static_cast<uint32_t>(result);
    return FT_OK;
}

FT_STATUS TLibFtdiDriver::FT_Read(FT_HANDLE handle, uint8_t* buffer, uint32_t count,
                                  uint32_t& read) {
    read = 0;
    if (!handle) return FT_INVALID_HANDLE;
    // libftdi returns what has arrived so far, so collect until complete or
    // until the instrument has had its second to answer.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kReadTimeoutMs);
    while (read < count) {
        const int got =
            ftdi_read_data(Context(handle), buffer + read, static_cast<int>(count - read));
        if (got < 0) return FT_IO_ERROR;
        read += static_cast<uint32_t>(got);
        if (read == count) break;
        if (std::chrono::steady_clock::now() >= deadline) return FT_IO_ERROR;
        if (got == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return FT_OK;
}
