#pragma once

#include <string>

#include "options/ZyAppOption.h"

// A yes/no option, stored as "1" or "0".
class TZyAppBoolOption : public TZyAppOption {
  public:
    TZyAppBoolOption(TComponent* owner, std::string sectionName, std::string identName,
                     bool defValue);

    void Save() override;
    void ReSaveDefault() override;
    void Load() override;

    // Plain accessors of the two stored values; they never touch the file.
    virtual void SetValue(bool value);
    virtual bool GetValue() const;
    virtual void SetDefValue(bool defValue);
    virtual bool GetDefValue() const;

    bool Value() const { return GetValue(); }
    bool DefValue() const { return GetDefValue(); }

  private:
    bool value_;
    bool defValue_;
};
