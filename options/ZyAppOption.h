#pragma once

#include <string>

#include "platform/Component.h"

class TZyAppOptionsRepository;

// Base of the typed application options. An option knows its INI section and
// key and reaches the options file only through the repository it is
// registered with; without a repository it neither reads nor writes.
//
// The option's owner component destroys it; destroying an option takes it out
// of its repository. Options are created on the heap (the repository's
// factories do so), since a repository destroys the options still registered
// with it when it goes.
class TZyAppOption : public TComponent {
  public:
    TZyAppOption(TComponent* owner, std::string sectionName, std::string identName);
    ~TZyAppOption() override;

    TZyAppOptionsRepository* AppOptionsRepository() const { return repository_; }
    // Moves the option to `repository` (nullptr: to none). Setting the current
    // repository again changes nothing.
    void SetAppOptionsRepository(TZyAppOptionsRepository* repository);

    const std::string& SectionName() const { return sectionName_; }
    void SetSectionName(std::string sectionName) { sectionName_ = std::move(sectionName); }
    const std::string& IdentName() const { return identName_; }
    void SetIdentName(std::string identName) { identName_ = std::move(identName); }

    // The repository's accessors for this option's section and key. Writes do
    // nothing and reads return `defaultValue` while the option has no repository.
    virtual void IniWriteString(const std::string& value);
    virtual std::string IniReadString(const std::string& defaultValue);
    virtual void IniWriteInt(int value);
    virtual int IniReadInt(int defaultValue);
    virtual void IniWriteBool(bool value);
    virtual bool IniReadBool(bool defaultValue);
    virtual void IniWriteDbl(double value);
    virtual double IniReadDbl(double defaultValue);

    // Writes Value to the file.
    virtual void Save() = 0;
    // Sets Value to DefValue (also without a repository), then saves.
    virtual void ReSaveDefault() = 0;
    // Sets Value from the file; a missing, empty or unreadable key gives DefValue.
    virtual void Load() = 0;

  private:
    friend class TZyAppOptionsRepository;  // keeps repository_ in step with its list

    std::string sectionName_;
    std::string identName_;
    TZyAppOptionsRepository* repository_ = nullptr;
};
