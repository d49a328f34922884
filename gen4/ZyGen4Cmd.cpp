#include "gen4/ZyGen4Cmd.h"

TZyGen4Cmd::TZyGen4Cmd(TZyGen4Commands code, TZyGen4ChNames ch, int32_t length)
    : Code(static_cast<uint8_t>(code)), Payload{0, 0, 0, 0, 0}, Length(length), Ch(ch) {
    if (ch == ZGCN_B) Code = TranslateForB(Code);
}

uint8_t TZyGen4Cmd::TranslateForB(uint8_t code) {
    // The steps run in order, each on what the previous one left; no
    // translated code falls into a later step's set.
    switch (code) {
        case 0x00:
        case 0x02:
        case 0x04:
        case 0x05:
        case 0x06:
        case 0x07:
        case 0x08:
        case 0x09:
        case 0x0A:
        case 0x40:
            code += 0x10;
            break;
        default:
            break;
    }
    switch (code) {
        case 0x20:
        case 0x29:
        case 0x30:
            code += 0x01;
            break;
        default:
            break;
    }
    switch (code) {
        case 0x87:
        case 0x88:
        case 0x8B:
        case 0x97:
            code += 0x02;
            break;
        default:
            break;
    }
    switch (code) {
        case 0xF1:
        case 0xF2:
            code += 0x08;
            break;
        default:
            break;
    }
    switch (code) {
        case 0x81:
        case 0x82:
        case 0x84:
            code += 0x60;
            break;
        default:
            break;
    }
    return code;
}

void TZyGen4Cmd::PutByte(int b, uint8_t value) {
    if (b >= 1 && b <= 5) Payload[b - 1] = value;
}

void TZyGen4Cmd::Put16(int b, uint16_t value) {
    PutByte(b, static_cast<uint8_t>(value >> 8));
    PutByte(b + 1, static_cast<uint8_t>(value));
}

void TZyGen4Cmd::Put24(int b, uint32_t value) {
    PutByte(b, static_cast<uint8_t>(value >> 16));
    PutByte(b + 1, static_cast<uint8_t>(value >> 8));
    PutByte(b + 2, static_cast<uint8_t>(value));
}

void TZyGen4Cmd::Put32(int b, uint32_t value) {
    PutByte(b, static_cast<uint8_t>(value >> 24));
    PutByte(b + 1, static_cast<uint8_t>(value >> 16));
    PutByte(b + 2, static_cast<uint8_t>(value >> 8));
    PutByte(b + 3, static_cast<uint8_t>(value));
}

void TZyGen4Cmd::Put16LE(int b, uint16_t value) {
    PutByte(b, static_cast<uint8_t>(value));
    PutByte(b + 1, static_cast<uint8_t>(value >> 8));
}

int TZyGen4Cmd::WireImage(uint8_t (&out)[kFrameSize]) const {
    out[0] = Code;
    for (int i = 0; i < 5; ++i) out[i + 1] = Payload[i];
    if (Length < 0) return 0;
    return Length > kFrameSize ? kFrameSize : Length;
}
