#include "options/ZyAppDblOption.h"

TZyAppDblOption::TZyAppDblOption(TComponent* owner, std::string sectionName, std::string identName,
                                 double defValue)
    : TZyAppOption(owner, std::move(sectionName), std::move(identName)),
      value_(defValue),
      defValue_(defValue) {}

void TZyAppDblOption::Save() {
    if (AppOptionsRepository()) IniWriteDbl(GetValue());
}

void TZyAppDblOption::ReSaveDefault() {
    SetValue(GetDefValue());
    Save();
}

void TZyAppDblOption::Load() {
    if (!AppOptionsRepository()) return;
    const double value = IniReadDbl(GetDefValue());
    SetValue(WithinLimits(value) ? value : GetDefValue());
}

void TZyAppDblOption::SetLimits(double minValue, double maxValue) {
    minValue_ = minValue;
    maxValue_ = maxValue;
}

bool TZyAppDblOption::WithinLimits(double value) const {
    // Comparisons with NaN are false, and infinities lie beyond any limit.
    return value >= minValue_ && value <= maxValue_;
}

void TZyAppDblOption::SetValue(double value) {
    value_ = value;
}
double TZyAppDblOption::GetValue() const {
    return value_;
}
void TZyAppDblOption::SetDefValue(double defValue) {
    defValue_ = defValue;
}
double TZyAppDblOption::GetDefValue() const {
    return defValue_;
}
