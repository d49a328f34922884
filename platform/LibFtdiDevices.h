#pragma once

#include <vector>

#include "platform/FtdiAccess.h"

struct ftdi_context;
struct libusb_device;

// What the bus tells of one FTDI bridge. The strings come from the device
// when this user may open it, else from the kernel's copy in sysfs.
TFtdiDeviceInfo DescribeFtdiDevice(ftdi_context* ftdi, libusb_device* dev);

// Every bridge with one of the usual FTDI ids, in the order libftdi finds
// them (the first is the one opened without a serial).
std::vector<TFtdiDeviceInfo> ListFtdiDevices();
