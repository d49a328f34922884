#include "platform/OpenFailure.h"

TOpenFailure OpenFailureFromFind(int found) {
    return found < 0 ? ofUsbStack : ofNoDevice;
}

TOpenFailure OpenFailureFromOpenDev(int code) {
    // The codes libftdi1 documents for ftdi_usb_open_dev; libusb's own error
    // is not passed on, so the cause is the step that failed.
    switch (code) {
        case -3:  // setting the configuration failed: the serial driver holds it
        case -8:  // the serial driver could not be detached (EPERM)
        case -11:
            return ofKernelDriver;
        case -4:  // libusb_open failed: the device node is not the user's
            return ofPermission;
        case -5:  // claiming the interface failed: another program has it
            return ofBusy;
        case -6:  // reset
        case -7:  // baud rate
        case -9:
        case -10:
        case -12:  // descriptors, configuration
            return ofSetup;
        default:
            return ofUnknown;
    }
}
