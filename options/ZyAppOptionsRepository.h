#pragma once

#include <memory>
#include <string>
#include <vector>

#include "options/IniFile.h"
#include "options/ZyAppBoolOption.h"
#include "options/ZyAppColorOption.h"
#include "options/ZyAppDblOption.h"
#include "options/ZyAppIntOption.h"
#include "options/ZyAppOption.h"
#include "options/ZyAppStrOption.h"
#include "platform/Component.h"

// Typed application options kept in one INI file. The repository owns the
// file binding and the list of registered options (in registration order);
// the options themselves are owned by their owner components.
//
// An option is in the list exactly when its AppOptionsRepository() is this
// repository, and it is in the list at most once.
//
// Text forms in the file: strings unchanged; integers (and colours) as signed
// decimal, read also as hexadecimal after "$" or "0x"; bools as "1"/"0", read
// as integers (non-zero is true); doubles as printf's "%g" with "." whatever
// the process locale, read as the C library's strtod in the "C" locale (the
// longest numeric prefix, 0 when there is none; an empty value gives the
// default). A write that cannot be carried out raises EIniFileException
// "Unable to write to <file name>" and leaves the old file as it was.
class TZyAppOptionsRepository : public TComponent {
  public:
    explicit TZyAppOptionsRepository(TComponent* owner);
    // Destroys every option still registered, then the file binding.
    ~TZyAppOptionsRepository() override;

    // The options file; initially "filename.ini". Setting it reads and writes
    // nothing: the next read or write uses the new file.
    const std::string& FileName() const { return iniFile_->FileName(); }
    void SetFileName(const std::string& fileName);

    // Factories: create an option owned by `owner` with Value and DefValue set
    // to `defValue`, register it and return it. Nothing is read from the file.
    TZyAppStrOption* AddAppStrOption(TComponent* owner, const std::string& sectionName,
                                     const std::string& identName, const std::string& defValue);
    TZyAppIntOption* AddAppIntOption(TComponent* owner, const std::string& sectionName,
                                     const std::string& identName, int defValue);
    TZyAppColorOption* AddAppColorOption(TComponent* owner, const std::string& sectionName,
                                         const std::string& identName, TColor defValue);
    TZyAppBoolOption* AddAppBoolOption(TComponent* owner, const std::string& sectionName,
                                       const std::string& identName, bool defValue);
    TZyAppDblOption* AddAppDblOption(TComponent* owner, const std::string& sectionName,
                                     const std::string& identName, double defValue);

    // Appends the option and points it at this repository. An option already
    // registered here stays where it is; one registered with another
    // repository leaves that one first.
    void AddAppOption(TZyAppOption* option);
    // Removes the option; returns the index it had, or -1 (then the option is
    // left as it was).
    int RemoveAppOption(TZyAppOption* option);
    int GetAppOptionsCount() const { return static_cast<int>(options_.size()); }
    // The option at `index` in registration order; raises Exception outside
    // 0 .. count-1.
    TZyAppOption* GetAppOptions(int index) const;

    // Save / ReSaveDefault / Load of every registered option, index 0 upwards.
    // A failed write stops the loop; options saved before it stay written.
    virtual void SaveOptions();
    virtual void ReSaveDefaultOptions();
    void LoadOptions();

    // Erases the section when it holds at least one key; otherwise nothing.
    void IniEraseSection(const std::string& section);

    // Typed access to the file; the options reach the file only through these.
    virtual void IniWriteString(const std::string& section, const std::string& ident,
                                const std::string& value);
    virtual std::string IniReadString(const std::string& section, const std::string& ident,
                                      const std::string& defaultValue);
    virtual void IniWriteInt(const std::string& section, const std::string& ident, int value);
    virtual int IniReadInt(const std::string& section, const std::string& ident, int defaultValue);
    virtual void IniWriteBool(const std::string& section, const std::string& ident, bool value);
    virtual bool IniReadBool(const std::string& section, const std::string& ident,
                             bool defaultValue);
    virtual void IniWriteDbl(const std::string& section, const std::string& ident, double value);
    virtual double IniReadDbl(const std::string& section, const std::string& ident,
                              double defaultValue);

    // The text forms of doubles, independent of the process locale.
    static std::string FloatToIniText(double value);
    static double IniTextToFloat(const std::string& text);

  private:
    std::unique_ptr<TIniFile> iniFile_;
    std::vector<TZyAppOption*> options_;  // not owning
};
