#pragma once

#include <limits>
#include <string>

#include "options/ZyAppOption.h"

// A floating-point option, stored in the "%g" form with "." as decimal point.
class TZyAppDblOption : public TZyAppOption {
  public:
    TZyAppDblOption(TComponent* owner, std::string sectionName, std::string identName,
                    double defValue);

    void Save() override;
    void ReSaveDefault() override;
    void Load() override;

    // Plain accessors of the two stored values; they never touch the file.
    virtual void SetValue(double value);
    virtual double GetValue() const;
    virtual void SetDefValue(double defValue);
    virtual double GetDefValue() const;

    double Value() const { return GetValue(); }
    double DefValue() const { return GetDefValue(); }

    // The values the option may take. A value read from the file that is no
    // finite number or lies outside them is replaced by the default: the
    // file reads "abc" as 0, which no limit makes a meaningful value. Every
    // finite number until set.
    void SetLimits(double minValue, double maxValue);
    double MinValue() const { return minValue_; }
    double MaxValue() const { return maxValue_; }
    bool WithinLimits(double value) const;

  private:
    double value_;
    double defValue_;
    double minValue_ = -std::numeric_limits<double>::max();
    double maxValue_ = std::numeric_limits<double>::max();
};
