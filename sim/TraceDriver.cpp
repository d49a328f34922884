#include "sim/TraceDriver.h"

#include "platform/HexBytes.h"

FT_STATUS TTraceDriver::FT_Open(int deviceNumber, FT_HANDLE& handle) {
    const FT_STATUS status = inner_.FT_Open(deviceNumber, handle);
    if (status == FT_OK) splitter_.DropPartial();
    return status;
}

FT_STATUS TTraceDriver::FT_Close(FT_HANDLE handle) {
    return inner_.FT_Close(handle);
}

FT_STATUS TTraceDriver::FT_Write(FT_HANDLE handle, const uint8_t* data, uint32_t count,
                                 uint32_t& written) {
    // Split what is asked on a copy, then follow only what went out.
    TWireSplitter probe = splitter_;
    const auto pieces = data ? probe.Feed(data, count) : std::vector<TWireSplitter::TPiece>{};
    written = 0;
    const FT_STATUS status = inner_.FT_Write(handle, data, count, written);
    const bool ok = status == FT_OK && written == count;
    if (ok) {
        splitter_ = probe;
    } else {
        // Like the instrument, forget an unfinished frame after a failed transfer.
        if (data && written <= count) splitter_.Feed(data, written);
        splitter_.DropPartial();
    }
    if (OnTransfer) {
        for (const auto& piece : pieces) {
            const auto* first = data + piece.offset;
            OnTransfer({piece.kind == TWireSplitter::pkCommand ? tkCommand : tkData,
                        std::vector<uint8_t>(first, first + piece.count), ok});
        }
    }
    return status;
}

FT_STATUS TTraceDriver::FT_Read(FT_HANDLE handle, uint8_t* buffer, uint32_t count, uint32_t& read) {
    read = 0;
    const FT_STATUS status = inner_.FT_Read(handle, buffer, count, read);
    const bool ok = status == FT_OK && read == count;
    if (OnTransfer) {
        const uint32_t got = buffer && read <= count ? read : 0;
        OnTransfer({tkRead, std::vector<uint8_t>(buffer, buffer + got), ok});
    }
    return status;
}

std::string TTraceDriver::FormatLine(const TTransfer& t) {
    std::string line = t.kind == tkCommand ? "C" : t.kind == tkData ? "D" : "R";
    if (!t.bytes.empty()) line += " " + ToHex(t.bytes);
    if (!t.ok) line += " !";
    return line;
}
