#include "options/ZyAppOptionsRepository.h"

#include <locale.h>
#include <algorithm>
#include <charconv>
#include <clocale>
#include <cstdlib>

#include "platform/Exceptions.h"

TZyAppOptionsRepository::TZyAppOptionsRepository(TComponent* owner)
    : TComponent(owner), iniFile_(std::make_unique<TIniFile>("filename.ini")) {}

TZyAppOptionsRepository::~TZyAppOptionsRepository() {
    // Each option's destructor takes it out of options_.
    while (!options_.empty()) delete options_.back();
}

void TZyAppOptionsRepository::SetFileName(const std::string& fileName) {
    iniFile_ = std::make_unique<TIniFile>(fileName);
}

TZyAppStrOption* TZyAppOptionsRepository::AddAppStrOption(TComponent* owner,
                                                          const std::string& sectionName,
                                                          const std::string& identName,
                                                          const std::string& defValue) {
    auto* option = new TZyAppStrOption(owner, sectionName, identName, defValue);
    AddAppOption(option);
    return option;
}

TZyAppIntOption* TZyAppOptionsRepository::AddAppIntOption(TComponent* owner,
                                                          const std::string& sectionName,
                                                          const std::string& identName,
                                                          int defValue) {
    auto* option = new TZyAppIntOption(owner, sectionName, identName, defValue);
    AddAppOption(option);
    return option;
}

TZyAppColorOption* TZyAppOptionsRepository::AddAppColorOption(TComponent* owner,
                                                              const std::string& sectionName,
                                                              const std::string& identName,
                                                              TColor defValue) {
    auto* option = new TZyAppColorOption(owner, sectionName, identName, defValue);
    AddAppOption(option);
    return option;
}

TZyAppBoolOption* TZyAppOptionsRepository::AddAppBoolOption(TComponent* owner,
                                                            const std::string& sectionName,
                                                            const std::string& identName,
                                                            bool defValue) {
    auto* option = new TZyAppBoolOption(owner, sectionName, identName, defValue);
    AddAppOption(option);
    return option;
}

TZyAppDblOption* TZyAppOptionsRepository::AddAppDblOption(TComponent* owner,
                                                          const std::string& sectionName,
                                                          const std::string& identName,
                                                          double defValue) {
    auto* option = new TZyAppDblOption(owner, sectionName, identName, defValue);
    AddAppOption(option);
    return option;
}

void TZyAppOptionsRepository::AddAppOption(TZyAppOption* option) {
    if (!option || option->repository_ == this) return;
    // A second entry, or an entry left in another repository, would outlive
    // the option: its destructor removes it from its current repository once.
    if (option->repository_) option->repository_->RemoveAppOption(option);
    options_.push_back(option);
    option->repository_ = this;
}

int TZyAppOptionsRepository::RemoveAppOption(TZyAppOption* option) {
    const auto it = std::find(options_.begin(), options_.end(), option);
    if (it == options_.end()) return -1;
    const int index = static_cast<int>(it - options_.begin());
    options_.erase(it);
    option->repository_ = nullptr;
    return index;
}

TZyAppOption* TZyAppOptionsRepository::GetAppOptions(int index) const {
    if (index < 0 || index >= GetAppOptionsCount())
        throw Exception("List index out of bounds (" + std::to_string(index) + ")");
    return options_[static_cast<size_t>(index)];
}

void TZyAppOptionsRepository::SaveOptions() {
    for (size_t i = 0; i < options_.size(); ++i) options_[i]->Save();
}

void TZyAppOptionsRepository::ReSaveDefaultOptions() {
    for (size_t i = 0; i < options_.size(); ++i) options_[i]->ReSaveDefault();
}

void TZyAppOptionsRepository::LoadOptions() {
    for (size_t i = 0; i < options_.size(); ++i) options_[i]->Load();
}

void TZyAppOptionsRepository::IniEraseSection(const std::string& section) {
    if (iniFile_->SectionExists(section)) iniFile_->EraseSection(section);
}

void TZyAppOptionsRepository::IniWriteString(const std::string& section, const std::string& ident,
                                             const std::string& value) {
    iniFile_->WriteString(section, ident, value);
}

std::string TZyAppOptionsRepository::IniReadString(const std::string& section,
                                                   const std::string& ident,
                                                   const std::string& defaultValue) {
    return iniFile_->ReadString(section, ident, defaultValue);
}

void TZyAppOptionsRepository::IniWriteInt(const std::string& section, const std::string& ident,
                                          int value) {
    iniFile_->WriteInteger(section, ident, value);
}

int TZyAppOptionsRepository::IniReadInt(const std::string& section, const std::string& ident,
                                        int defaultValue) {
    return iniFile_->ReadInteger(section, ident, defaultValue);
}

void TZyAppOptionsRepository::IniWriteBool(const std::string& section, const std::string& ident,
                                           bool value) {
    iniFile_->WriteBool(section, ident, value);
}

bool TZyAppOptionsRepository::IniReadBool(const std::string& section, const std::string& ident,
                                          bool defaultValue) {
    return iniFile_->ReadBool(section, ident, defaultValue);
}

void TZyAppOptionsRepository::IniWriteDbl(const std::string& section, const std::string& ident,
                                          double value) {
    IniWriteString(section, ident, FloatToIniText(value));
}

double TZyAppOptionsRepository::IniReadDbl(const std::string& section, const std::string& ident,
                                           double defaultValue) {
    const std::string text = IniReadString(section, ident, "");
    return text.empty() ? defaultValue : IniTextToFloat(text);
}

std::string TZyAppOptionsRepository::FloatToIniText(double value) {
    // std::to_chars with a precision is printf's "%.*g" in the "C" locale.
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 6);
    return std::string(buf, r.ptr);
}

double TZyAppOptionsRepository::IniTextToFloat(const std::string& text) {
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    if (!cLocale) return 0.0;  // only when the system is out of memory
    return ::strtod_l(text.c_str(), nullptr, cLocale);
}
