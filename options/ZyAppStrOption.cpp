#include "options/ZyAppStrOption.h"

TZyAppStrOption::TZyAppStrOption(TComponent* owner, std::string sectionName, std::string identName,
                                 const std::string& defValue)
    : TZyAppOption(owner, std::move(sectionName), std::move(identName)),
      value_(defValue),
      defValue_(defValue) {}

void TZyAppStrOption::Save() {
    if (AppOptionsRepository()) IniWriteString(GetValue());
}

void TZyAppStrOption::ReSaveDefault() {
    SetValue(GetDefValue());
    Save();
}

void TZyAppStrOption::Load() {
    if (AppOptionsRepository()) SetValue(IniReadString(GetDefValue()));
}

void TZyAppStrOption::SetValue(const std::string& value) {
    value_ = value;
}
std::string TZyAppStrOption::GetValue() const {
    return value_;
}
void TZyAppStrOption::SetDefValue(const std::string& defValue) {
    defValue_ = defValue;
}
std::string TZyAppStrOption::GetDefValue() const {
    return defValue_;
}
