#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "scpi/ScpiMessage.h"

struct TScpiCall;

// One node of a command header: `FREQuency` takes "FREQ" and "FREQUENCY".
struct TScpiNode {
    std::string longName;   // upper case
    std::string shortName;  // the upper-case letters of the written form
    bool optional = false;  // in brackets: may be left out
    int suffixSlot = -1;    // which TScpiCall suffix it sets; -1: takes none
};

// A node of a header as matched, with its suffix (1 when none was written).
struct TScpiPathNode {
    std::string longName;
    int suffix = 1;
    bool written = true;  // false: an optional node that was left out
};

// One command of the tree with its handlers.
struct TScpiCommand {
    std::vector<TScpiNode> nodes;
    std::function<void(TScpiCall&)> set;           // null: query only
    std::function<std::string(TScpiCall&)> query;  // null: no query form
};

// The command tree, kept as the list of its leaves' headers. A pattern is
// written as in instrument manuals: `[SOURce#:]FSKey:FREQuency&`, where
// brackets mark optional nodes, `#` a channel suffix (1 or 2) and `&` a
// keying step suffix (1 to 4).
class TScpiTree {
  public:
    static constexpr int kChannelSlot = 0;
    static constexpr int kStepSlot = 1;
    static constexpr int kSlots = 2;

    void Add(std::string_view pattern, std::function<void(TScpiCall&)> set,
             std::function<std::string(TScpiCall&)> query);

    struct TMatch {
        const TScpiCommand* command = nullptr;
        std::vector<TScpiPathNode> path;
        int suffixes[kSlots] = {1, 1};
    };

    // Finds the command of `header`, first below the current path of the
    // message, then from the root. Throws TScpiError -113 when none matches,
    // -114 when only a suffix is out of range.
    TMatch Resolve(const std::vector<TScpiMnemonic>& header,
                   const std::vector<TScpiPathNode>& current) const;

    // The current path after a command: its header without the last node
    // written (and the optional nodes left out after it).
    static std::vector<TScpiPathNode> PathAfter(const TMatch& match);

    const std::vector<TScpiCommand>& Commands() const { return commands_; }

  private:
    std::vector<TScpiCommand> commands_;
};
