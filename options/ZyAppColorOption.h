#pragma once

#include <cstdint>
#include <string>

#include "options/ZyAppIntOption.h"

// A colour as the platform numbers it: 0x00BBGGRR. A system colour has 0xFF in
// the high byte and is therefore negative (0xFF000008 is -16777208).
using TColor = int32_t;

// A colour option: the integer option whose Value and DefValue are colours.
// It is stored and read exactly as an integer.
class TZyAppColorOption : public TZyAppIntOption {
  public:
    TZyAppColorOption(TComponent* owner, std::string sectionName, std::string identName,
                      TColor defValue);
};
