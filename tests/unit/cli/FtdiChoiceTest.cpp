// zygen4 on FTDI bridges made up by the test: which bridge it asks for, how it
// lists them, and what it says when one cannot be opened. The failures come
// from libftdi1's own return codes, turned into causes as the real driver does.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliMain.h"
#include "cli/CliRunner.h"
#include "platform/RecordingDriver.h"

namespace {

using Args = std::vector<std::string>;

struct FakeBridges {
    std::vector<TFtdiDeviceInfo> devices;
    FT_STATUS openStatus = FT_OK;
    TOpenFailure openFailure = ofUnknown;
    std::vector<std::string> serialsAsked;

    TFtdiAccess Access() {
        TFtdiAccess access;
        access.MakeDriver = [this](const std::string& serial) -> std::unique_ptr<TUsbDriver> {
            serialsAsked.push_back(serial);
            auto driver = std::make_unique<TRecordingDriver>();
            driver->FailOpen(openStatus, openFailure);
            return driver;
        };
        access.ListDevices = [this] { return devices; };
        return access;
    }
};

struct ToolRun {
    int status;
    std::string out, err;
};

ToolRun Zygen4(const Args& args, const TFtdiAccess& access) {
    std::ostringstream out, err;
    const int status = RunZygen4(args, out, err, access);
    return {status, out.str(), err.str()};
}

}  // namespace

TEST(FtdiChoice, FailedConnectNamesTheCauseFromLibftdisCode) {
    struct Case {
        TOpenFailure failure;
        const char* cause;  // the second line; empty: there is none
    };
    const Case cases[] = {
        {OpenFailureFromFind(0), "zygen4: no FTDI device found\n"},
        {OpenFailureFromFind(-1), "zygen4: the USB library could not list the devices\n"},
        {OpenFailureFromOpenDev(-4),
         "zygen4: permission denied: install the zypanel package (or its udev rule) and plug "
         "the device in again\n"},
        {OpenFailureFromOpenDev(-5), "zygen4: the device is busy: another program has it open\n"},
        {OpenFailureFromOpenDev(-8),
         "zygen4: the kernel's serial driver could not be detached from the device\n"},
        {OpenFailureFromOpenDev(-3),
         "zygen4: the kernel's serial driver could not be detached from the device\n"},
        {OpenFailureFromOpenDev(-6),
         "zygen4: the device did not take its set-up: plug it in again\n"},
        {OpenFailureFromOpenDev(-99), ""},
    };
    for (const auto& c : cases) {
        FakeBridges bridges;
        bridges.openStatus = FT_DEVICE_NOT_OPENED;
        bridges.openFailure = c.failure;
        const ToolRun run = Zygen4({"Active=1"}, bridges.Access());
        EXPECT_EQ(run.status, ceRuntimeError) << c.cause;
        EXPECT_EQ(run.err, std::string("zygen4: Active=1: cannot connect to the instrument "
                                       "(FT_DEVICE_NOT_OPENED)\n") +
                               c.cause);
    }
}

TEST(FtdiChoice, DeviceOptionPicksTheBridgeBySerial) {
    FakeBridges bridges;
    EXPECT_EQ(Zygen4({"Active=1", "Status?"}, bridges.Access()).status, ceOk);
    EXPECT_EQ(Zygen4({"--device", "ftdi", "Active=1"}, bridges.Access()).status, ceOk);
    EXPECT_EQ(Zygen4({"--device=ftdi:FT4ZX9Q1", "Active=1"}, bridges.Access()).status, ceOk);
    EXPECT_EQ(bridges.serialsAsked, (std::vector<std::string>{"", "", "FT4ZX9Q1"}));

    // A serial nobody carries says so.
    bridges.openStatus = FT_DEVICE_NOT_FOUND;
    bridges.openFailure = ofNoDevice;
    const ToolRun missing = Zygen4({"--device", "ftdi:NOPE", "Active=1"}, bridges.Access());
    EXPECT_EQ(missing.status, ceRuntimeError);
    EXPECT_NE(missing.err.find("zygen4: no FTDI device with the serial number NOPE\n"),
              std::string::npos)
        << missing.err;

    const ToolRun empty = Zygen4({"--device", "ftdi:", "Active=1"}, bridges.Access());
    EXPECT_EQ(empty.status, ceUsageError);
    EXPECT_NE(empty.err.find("unknown device 'ftdi:'"), std::string::npos) << empty.err;
}

TEST(FtdiChoice, ListDevicesShowsEveryBridgeWithItsAccess) {
    FakeBridges bridges;
    const ToolRun none = Zygen4({"--list-devices"}, bridges.Access());
    EXPECT_EQ(none.status, ceOk);
    EXPECT_EQ(none.out, "no FTDI device found\n");

    bridges.devices = {
        {"1-2", 0x0403, 0x6001, "FTDI", "USB \"Serial\" cable", "A50285BI", true},
        {"3-1.4", 0x0403, 0x6015, "Maker", "Generator", "FT4ZX9Q1", false},
    };
    const ToolRun two = Zygen4({"--list-devices"}, bridges.Access());
    EXPECT_EQ(two.status, ceOk);
    EXPECT_EQ(two.out,
              "1-2 0403:6001 manufacturer=\"FTDI\" description=\"USB \\\"Serial\\\" cable\" "
              "serial=\"A50285BI\" access=yes\n"
              "3-1.4 0403:6015 manufacturer=\"Maker\" description=\"Generator\" "
              "serial=\"FT4ZX9Q1\" access=no\n");
    EXPECT_TRUE(bridges.serialsAsked.empty());

    // Without the FTDI driver (as in these tests' own default) there is nothing to list.
    const ToolRun noDriver = Zygen4({"--list-devices"}, TFtdiAccess{});
    EXPECT_EQ(noDriver.status, ceRuntimeError);
    EXPECT_EQ(noDriver.err, "zygen4: this build has no FTDI driver\n");
}
