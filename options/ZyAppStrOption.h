#pragma once

#include <string>

#include "options/ZyAppOption.h"

// A text option, stored unchanged.
class TZyAppStrOption : public TZyAppOption {
  public:
    TZyAppStrOption(TComponent* owner, std::string sectionName, std::string identName,
                    const std::string& defValue);

    void Save() override;
    void ReSaveDefault() override;
    void Load() override;

    // Plain accessors of the two stored values; they never touch the file.
    virtual void SetValue(const std::string& value);
    virtual std::string GetValue() const;
    virtual void SetDefValue(const std::string& defValue);
    virtual std::string GetDefValue() const;

    std::string Value() const { return GetValue(); }
    std::string DefValue() const { return GetDefValue(); }

  private:
    std::string value_;
    std::string defValue_;
};
