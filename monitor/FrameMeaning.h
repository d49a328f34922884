#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "sim/InstrumentState.h"

// One line of Russian text for a command frame: "сброс", "A: выход включён",
// "A: частота 1 000 000 Гц (код 00A3D70A)". `after` is the instrument state
// once the frame was carried out; it gives the clock and, for start frames,
// what was started. An unknown code says so, with the frame's bytes.
std::string FrameMeaning(const uint8_t* frame, std::size_t length, const TInstrumentState& after);
