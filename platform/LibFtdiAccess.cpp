#include "platform/LibFtdiAccess.h"

#include "platform/LibFtdiDriver.h"

TFtdiAccess LibFtdiAccess() {
    TFtdiAccess access;
    access.MakeDriver = [](const std::string&) -> std::unique_ptr<TUsbDriver> {
        return std::make_unique<TLibFtdiDriver>();
    };
    return access;
}
