#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "props/PropertyValue.h"

class TZyGen4;
struct TEnumInfo;

// One published property of the generator, reached by its dotted path
// ("ChA.IntModulation.Fm"), with adapters to its getter and setter.
struct TPropertyDef {
    std::string path;
    TValueKind kind;
    const TEnumInfo* enumInfo;  // vkEnum only
    std::function<TPropertyValue(TZyGen4&)> get;
    std::function<void(TZyGen4&, const TPropertyValue&)> set;  // empty: read-only
    // The values the setter accepts, "lo..hi", from the engine's range
    // constant; empty when it has none.
    std::string accepted;

    bool ReadOnly() const { return !set; }
};

// Every published property of the generator, its options, both channels and
// their engines, in publication order. Built once.
class TPropertyTable {
  public:
    static const TPropertyTable& Instance();

    // The property at `path` (exact spelling), or null.
    const TPropertyDef* Find(std::string_view path) const;
    const std::vector<TPropertyDef>& All() const { return defs_; }

  private:
    TPropertyTable();
    std::vector<TPropertyDef> defs_;
};
