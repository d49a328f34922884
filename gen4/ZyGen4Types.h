#pragma once

#include <cstdint>

// Enumerations shared by the generator, its channels and engines, the settings
// file and the windows. Fixed underlying type: a value read from a file outside
// the list is still representable, and every switch over one has a default.

// A channel's mode.
enum TZyGen4ModesCommon : int32_t {
    ZGMdC_off = 0,
    ZGMdC_gen = 1,
    ZGMdC_tuning = 2,
    ZGMdC_IntModulation = 3,
    ZGMdC_ExtModulation = 4,
    ZGMdC_ExtModulationA12 = 5,
    ZGMdC_ExtModulationAB1 = 6,
    ZGMdC_LFM = 7,
    ZGMdC_DDSMod = 8,
};

enum TZyGen4ChNames : int32_t {
    ZGCN_A = 0,
    ZGCN_B = 1,
};

// The carrier parameter a mode acts on (the Type of every engine).
enum TZyGen4AFPModes : int32_t {
    ZGAFPms_freq = 0,
    ZGAFPms_ampl = 1,
    ZGAFPms_phase = 2,
};

// Modulating waveform.
enum TMathFuncsTypes : int32_t {
    ZMFT_sin = 0,
    ZMFT_triangle = 1,
    ZMFT_rect = 2,
};

// Mode of the DDS keying engine.
enum TZyGen4DDSmodModes : int32_t {
    ZGTMs_BxSK = 0,
    ZGTMs_QxSK = 1,
    ZGTMs_User = 2,
};

// Which value a range check rejected, as reported by OnParamValueError.
enum TZyGen4Parameters : int32_t {
    ZGP_ChFrequency = 2,
    ZGP_ChPhase = 3,
    ZGP_LFMTime = 11,
    ZGP_DDSModTime = 24,
};

// Selector byte of the modulated parameter in start frames.
inline uint8_t ModSel(TZyGen4AFPModes type) {
    switch (type) {
        case ZGAFPms_freq:
            return 3;
        case ZGAFPms_ampl:
            return 1;
        case ZGAFPms_phase:
            return 2;
        default:
            return 0;
    }
}
