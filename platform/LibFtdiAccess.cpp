#include "platform/LibFtdiAccess.h"

#include "platform/LibFtdiDevices.h"
#include "platform/LibFtdiDriver.h"

TFtdiAccess LibFtdiAccess() {
    TFtdiAccess access;
    access.MakeDriver = [](const std::string& serial) -> std::unique_ptr<TUsbDriver> {
        return std::make_unique<TLibFtdiDriver>(serial);
    };
    access.ListDevices = ListFtdiDevices;
    return access;
}
