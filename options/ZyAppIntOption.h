#pragma once

#include <climits>
#include <string>

#include "options/ZyAppOption.h"

// A 32-bit signed integer option, stored as signed decimal.
class TZyAppIntOption : public TZyAppOption {
  public:
    TZyAppIntOption(TComponent* owner, std::string sectionName, std::string identName,
                    int defValue);

    void Save() override;
    void ReSaveDefault() override;
    void Load() override;

    // Plain accessors of the two stored values; they never touch the file.
    virtual void SetValue(int value);
    virtual int GetValue() const;
    virtual void SetDefValue(int defValue);
    virtual int GetDefValue() const;

    int Value() const { return GetValue(); }
    int DefValue() const { return GetDefValue(); }

    // The values the option may take; a value read from the file outside
    // them is brought to the nearer limit. Every int until set.
    void SetLimits(int minValue, int maxValue);
    int MinValue() const { return minValue_; }
    int MaxValue() const { return maxValue_; }

  private:
    int value_;
    int defValue_;
    int minValue_ = INT_MIN;
    int maxValue_ = INT_MAX;
};
