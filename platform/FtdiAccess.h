#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/UsbDriver.h"

// One FTDI bridge on the USB bus, as --list-devices shows it.
struct TFtdiDeviceInfo {
    std::string busPosition;  // bus and port path, "1-2.3"
    uint16_t vendor = 0;
    uint16_t product = 0;
    std::string manufacturer;
    std::string description;
    std::string serial;
    bool accessible = false;  // this user may open it
};

// What the programs need of the FTDI bridges. The libftdi1 implementation
// (platform/LibFtdiAccess.h) is a library of its own that only the two
// executables link, so tests never load the USB stack; they pass their own.
struct TFtdiAccess {
    // A driver for the bridge with this serial number; the first bridge when
    // the serial is empty.
    std::function<std::unique_ptr<TUsbDriver>(const std::string& serial)> MakeDriver;
    std::function<std::vector<TFtdiDeviceInfo>()> ListDevices;
};

// The --list-devices output of both programs, one line per bridge:
// 1-2.3 0403:6001 manufacturer="FTDI" description="FT232R USB UART" serial="A50285BI" access=yes
// and "no FTDI device found" for an empty list.
std::string FormatFtdiDeviceList(const std::vector<TFtdiDeviceInfo>& devices);
