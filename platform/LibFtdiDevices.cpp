#include "platform/LibFtdiDevices.h"

#include <libftdi1/ftdi.h>
#include <libusb.h>

#include <fstream>
#include <string>

namespace {

// "bus-port.port...", the kernel's name for the device (and its sysfs folder).
std::string BusPosition(libusb_device* dev) {
    std::string text = std::to_string(libusb_get_bus_number(dev));
    uint8_t ports[8];
    const int depth = libusb_get_port_numbers(dev, ports, sizeof ports);
    for (int i = 0; i < depth; ++i) {
        text += i == 0 ? '-' : '.';
        text += std::to_string(ports[i]);
    }
    return text;
}

std::string SysfsString(const std::string& position, const char* name) {
    std::ifstream in("/sys/bus/usb/devices/" + position + "/" + name);
    std::string line;
    std::getline(in, line);
    return line;
}

}  // namespace

TFtdiDeviceInfo DescribeFtdiDevice(ftdi_context* ftdi, libusb_device* dev) {
    TFtdiDeviceInfo info;
    info.busPosition = BusPosition(dev);
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(dev, &descriptor) == 0) {
        info.vendor = descriptor.idVendor;
        info.product = descriptor.idProduct;
    }
    char manufacturer[128] = "", description[128] = "", serial[128] = "";
    const int got = ftdi_usb_get_strings(ftdi, dev, manufacturer, sizeof manufacturer, description,
                                         sizeof description, serial, sizeof serial);
    // -4: libusb_open failed, which for a present device means no permission.
    info.accessible = got != -4;
    if (got == 0) {
        info.manufacturer = manufacturer;
        info.description = description;
        info.serial = serial;
    } else {
        info.manufacturer = SysfsString(info.busPosition, "manufacturer");
        info.description = SysfsString(info.busPosition, "product");
        info.serial = SysfsString(info.busPosition, "serial");
    }
    return info;
}

std::vector<TFtdiDeviceInfo> ListFtdiDevices() {
    std::vector<TFtdiDeviceInfo> list;
    ftdi_context* ftdi = ftdi_new();
    if (!ftdi) return list;
    ftdi_device_list* devices = nullptr;
    if (ftdi_usb_find_all(ftdi, &devices, 0, 0) > 0)
        for (ftdi_device_list* d = devices; d; d = d->next)
            list.push_back(DescribeFtdiDevice(ftdi, d->dev));
    ftdi_list_free(&devices);
    ftdi_free(ftdi);
    return list;
}
