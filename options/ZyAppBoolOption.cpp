#include "options/ZyAppBoolOption.h"

TZyAppBoolOption::TZyAppBoolOption(TComponent* owner, std::string sectionName,
                                   std::string identName, bool defValue)
    : TZyAppOption(owner, std::move(sectionName), std::move(identName)),
      value_(defValue),
      defValue_(defValue) {}

void TZyAppBoolOption::Save() {
    if (AppOptionsRepository()) IniWriteBool(GetValue());
}

void TZyAppBoolOption::ReSaveDefault() {
    SetValue(GetDefValue());
    Save();
}

void TZyAppBoolOption::Load() {
    if (AppOptionsRepository()) SetValue(IniReadBool(GetDefValue()));
}

void TZyAppBoolOption::SetValue(bool value) {
    value_ = value;
}
bool TZyAppBoolOption::GetValue() const {
    return value_;
}
void TZyAppBoolOption::SetDefValue(bool defValue) {
    defValue_ = defValue;
}
bool TZyAppBoolOption::GetDefValue() const {
    return defValue_;
}
