#include "options/ZyAppOption.h"

#include "options/ZyAppOptionsRepository.h"

TZyAppOption::TZyAppOption(TComponent* owner, std::string sectionName, std::string identName)
    : TComponent(owner), sectionName_(std::move(sectionName)), identName_(std::move(identName)) {}

TZyAppOption::~TZyAppOption() {
    if (repository_) repository_->RemoveAppOption(this);
}

void TZyAppOption::SetAppOptionsRepository(TZyAppOptionsRepository* repository) {
    if (repository == repository_) return;
    if (repository_) repository_->RemoveAppOption(this);
    if (repository) repository->AddAppOption(this);
}

void TZyAppOption::IniWriteString(const std::string& value) {
    if (repository_) repository_->IniWriteString(sectionName_, identName_, value);
}

std::string TZyAppOption::IniReadString(const std::string& defaultValue) {
    return repository_ ? repository_->IniReadString(sectionName_, identName_, defaultValue)
                       : defaultValue;
}

void TZyAppOption::IniWriteInt(int value) {
    if (repository_) repository_->IniWriteInt(sectionName_, identName_, value);
}

int TZyAppOption::IniReadInt(int defaultValue) {
    return repository_ ? repository_->IniReadInt(sectionName_, identName_, defaultValue)
                       : defaultValue;
}

void TZyAppOption::IniWriteBool(bool value) {
    if (repository_) repository_->IniWriteBool(sectionName_, identName_, value);
}

bool TZyAppOption::IniReadBool(bool defaultValue) {
    return repository_ ? repository_->IniReadBool(sectionName_, identName_, defaultValue)
                       : defaultValue;
}

void TZyAppOption::IniWriteDbl(double value) {
    if (repository_) repository_->IniWriteDbl(sectionName_, identName_, value);
}

double TZyAppOption::IniReadDbl(double defaultValue) {
    return repository_ ? repository_->IniReadDbl(sectionName_, identName_, defaultValue)
                       : defaultValue;
}
