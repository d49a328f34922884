#include "sim/InstrumentState.h"

#include <algorithm>

uint32_t TInstrumentState::TChannel::CarrierCode() const {
    return param == prFreq ? carrierWord : carrierWord >> 16;
}

uint32_t TInstrumentState::TChannel::RampStep(const std::array<uint8_t, 5>& w) {
    return static_cast<uint32_t>(w[1]) << 24 | static_cast<uint32_t>(w[2]) << 16 |
           static_cast<uint32_t>(w[3]) << 8 | w[4];
}

uint32_t TInstrumentState::TChannel::SlotRate(const std::array<uint8_t, 5>& w) {
    return static_cast<uint32_t>(w[1]) << 8 | w[0];
}

uint32_t TInstrumentState::TChannel::SlotLast(const std::array<uint8_t, 5>& w) {
    return static_cast<uint32_t>(w[3] & 0x03) << 8 | w[2];
}

void TInstrumentState::Reset() {
    const double ref = externalRefMHz;
    *this = TInstrumentState();
    externalRefMHz = ref;
}

double TInstrumentState::ClockMHz() const {
    return externalClock ? externalRefMHz * multiplier : kInternalRefMHz * kDefaultMultiplier;
}

double TInstrumentState::FrequencyHz(uint32_t code) const {
    return code * ClockMHz() * 1e6 / 4294967296.0;
}

const char* TInstrumentState::ModeName(const TChannel& c) {
    switch (c.run) {
        case rnTuning:
            return "ZGMdC_tuning";
        case rnIntMod:
            return "ZGMdC_IntModulation";
        case rnExtMod:
            return "ZGMdC_ExtModulation";
        case rnExtModA12:
            return "ZGMdC_ExtModulationA12";
        case rnExtModAB1:
            return "ZGMdC_ExtModulationAB1";
        case rnSweep:
            return "ZGMdC_LFM";
        case rnKeying:
            return "ZGMdC_DDSMod";
        case rnNone:
        default:
            return c.output ? "ZGMdC_gen" : "ZGMdC_off";
    }
}

const char* TInstrumentState::ParamName(TParam p) {
    switch (p) {
        case prFreq:
            return "freq";
        case prAmpl:
            return "ampl";
        case prPhase:
            return "phase";
        case prNone:
        default:
            return "none";
    }
}

int64_t TInstrumentState::HalfRangeCodes(TParam p, int scale) {
    return int64_t{1} << std::clamp(p == prFreq ? scale + 9 : scale - 7, 0, 30);
}
