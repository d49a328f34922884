#pragma once

#include <cstdint>

// Why a driver could not open the instrument, as far as it can tell; the
// programs name the cause and the cure under their connect-failure message.
enum TOpenFailure : int32_t {
    ofUnknown = 0,   // no cause known (or the last open succeeded)
    ofNoDevice,      // no FTDI bridge (with the asked-for serial) on the bus
    ofPermission,    // the user may not open the USB device
    ofBusy,          // another program has claimed it
    ofKernelDriver,  // the kernel's serial driver could not be detached
    ofUsbStack,      // the USB library itself failed
    ofSetup,         // the bridge did not take its set-up
};

// The causes from libftdi1's return codes: the count of ftdi_usb_find_all
// (negative when the USB stack failed) and the code of ftdi_usb_open_dev.
TOpenFailure OpenFailureFromFind(int found);
TOpenFailure OpenFailureFromOpenDev(int code);
