#include "scpi/ScpiDefaults.h"

#include "gen4/ZyGen4.h"
#include "platform/FakeTickSource.h"
#include "platform/ManualTimerHost.h"
#include "platform/UsbDriver.h"

namespace {

// No instrument at all: the default generator never connects.
class TNoDriver : public TUsbDriver {
  public:
    FT_STATUS FT_Open(int, FT_HANDLE&) override { return FT_DEVICE_NOT_FOUND; }
    FT_STATUS FT_Close(FT_HANDLE) override { return FT_DEVICE_NOT_OPENED; }
    FT_STATUS FT_Write(FT_HANDLE, const uint8_t*, uint32_t, uint32_t& written) override {
        written = 0;
        return FT_DEVICE_NOT_OPENED;
    }
    FT_STATUS FT_Read(FT_HANDLE, uint8_t*, uint32_t, uint32_t& read) override {
        read = 0;
        return FT_DEVICE_NOT_OPENED;
    }
};

struct TDefaultGenerator {
    TNoDriver driver;
    TFakeTickSource ticks;
    TManualTimerHost timers;
    TZyGen4 gen{nullptr, driver, ticks, timers};
};

}  // namespace

TZyGen4& ScpiDefaultGenerator() {
    static TDefaultGenerator defaults;
    return defaults.gen;
}
