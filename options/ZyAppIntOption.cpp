#include "options/ZyAppIntOption.h"

#include <algorithm>

TZyAppIntOption::TZyAppIntOption(TComponent* owner, std::string sectionName, std::string identName,
                                 int defValue)
    : TZyAppOption(owner, std::move(sectionName), std::move(identName)),
      value_(defValue),
      defValue_(defValue) {}

void TZyAppIntOption::Save() {
    if (AppOptionsRepository()) IniWriteInt(GetValue());
}

void TZyAppIntOption::ReSaveDefault() {
    SetValue(GetDefValue());
    Save();
}

void TZyAppIntOption::Load() {
    if (AppOptionsRepository())
        SetValue(std::clamp(IniReadInt(GetDefValue()), minValue_, maxValue_));
}

void TZyAppIntOption::SetLimits(int minValue, int maxValue) {
    minValue_ = minValue;
    maxValue_ = maxValue;
}

void TZyAppIntOption::SetValue(int value) {
    value_ = value;
}
int TZyAppIntOption::GetValue() const {
    return value_;
}
void TZyAppIntOption::SetDefValue(int defValue) {
    defValue_ = defValue;
}
int TZyAppIntOption::GetDefValue() const {
    return defValue_;
}
