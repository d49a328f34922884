#pragma once

class TZyGen4;
class TZyGen4FileReader;
class TZyGen4FileWriter;

// Generator-wide options, owned by the generator.
class TZyGen4Options {
  public:
    explicit TZyGen4Options(TZyGen4* gen) : gen_(gen) {}

    // Both channels in internal modulation play channel A's table (duplex)
    // instead of each its own.
    bool EnableDuplexIntMod() const { return enableDuplexIntMod_; }
    void SetEnableDuplexIntMod(bool v);
    // Gates the generator's OnOverModulation event.
    bool OverModulationNotify() const { return overModulationNotify_; }
    void SetOverModulationNotify(bool v) { overModulationNotify_ = v; }

    // --- Settings file ----------------------------------------------------------
    // This class's record at the stream's position; fields are read as stored.
    TZyGen4FileWriter& WriteDataToFile(TZyGen4FileWriter& out) const;
    TZyGen4FileReader& ReadDataFromFile(TZyGen4FileReader& in);

  private:
    TZyGen4* gen_;
    bool enableDuplexIntMod_ = false;
    bool overModulationNotify_ = true;
};
