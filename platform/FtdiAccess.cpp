#include "platform/FtdiAccess.h"

#include <cstdio>

namespace {

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace

std::string FormatFtdiDeviceList(const std::vector<TFtdiDeviceInfo>& devices) {
    if (devices.empty()) return "no FTDI device found\n";
    std::string text;
    for (const auto& d : devices) {
        char ids[16];
        std::snprintf(ids, sizeof ids, "%04x:%04x", d.vendor, d.product);
        text += d.busPosition + " " + ids + " manufacturer=" + Quoted(d.manufacturer) +
                " description=" + Quoted(d.description) + " serial=" + Quoted(d.serial) +
                " access=" + (d.accessible ? "yes" : "no") + "\n";
    }
    return text;
}
