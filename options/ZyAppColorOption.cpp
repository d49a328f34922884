#include "options/ZyAppColorOption.h"

TZyAppColorOption::TZyAppColorOption(TComponent* owner, std::string sectionName,
                                     std::string identName, TColor defValue)
    : TZyAppIntOption(owner, std::move(sectionName), std::move(identName), defValue) {}
