#pragma once

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

  private:
    double value_;
    double defValue_;
};
