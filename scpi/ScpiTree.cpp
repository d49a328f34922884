#include "scpi/ScpiTree.h"

#include <stdexcept>

#include "scpi/ScpiError.h"
#include "scpi/ScpiText.h"

namespace {

constexpr int kSuffixMax[TScpiTree::kSlots] = {2, 4};

// Reads `[SOURce#:]FREQuency[:CW]` into its nodes.
std::vector<TScpiNode> ParsePattern(std::string_view pattern) {
    std::vector<TScpiNode> nodes;
    bool optional = false;
    TScpiNode node;
    auto finish = [&] {
        if (node.longName.empty()) return;
        node.optional = optional;
        nodes.push_back(node);
        node = TScpiNode();
    };
    for (char c : pattern) {
        if (c == '[') {
            finish();
            optional = true;
        } else if (c == ']') {
            finish();
            optional = false;
        } else if (c == ':') {
            finish();
        } else if (c == '#') {
            node.suffixSlot = TScpiTree::kChannelSlot;
        } else if (c == '&') {
            node.suffixSlot = TScpiTree::kStepSlot;
        } else {
            node.longName += ScpiUpper(std::string_view(&c, 1));
            if (c >= 'A' && c <= 'Z') node.shortName += c;
        }
    }
    finish();
    if (nodes.empty()) throw std::logic_error("empty SCPI pattern");
    return nodes;
}

// Matches header mnemonics against a command's nodes from the given
// positions, skipping optional nodes where that helps.
class TMatcher {
  public:
    TMatcher(const std::vector<TScpiNode>& nodes, const std::vector<TScpiMnemonic>& header)
        : nodes_(nodes), header_(header) {}

    bool Match(std::size_t n, std::size_t h, std::vector<TScpiPathNode>& path) {
        if (n == nodes_.size()) return h == header_.size();
        const TScpiNode& node = nodes_[n];
        if (h < header_.size()) {
            const TScpiMnemonic& m = header_[h];
            if (m.name == node.longName || m.name == node.shortName) {
                const int suffix = m.suffix < 0 ? 1 : m.suffix;
                const bool allowed = m.suffix < 0 || node.suffixSlot >= 0;
                const bool inRange =
                    node.suffixSlot < 0 || (suffix >= 1 && suffix <= kSuffixMax[node.suffixSlot]);
                if (allowed && !inRange) suffixOutOfRange = true;
                if (allowed && inRange) {
                    path.push_back({node.longName, suffix, true});
                    if (Match(n + 1, h + 1, path)) return true;
                    path.pop_back();
                }
            }
        }
        if (!node.optional) return false;
        path.push_back({node.longName, 1, false});
        if (Match(n + 1, h, path)) return true;
        path.pop_back();
        return false;
    }

    bool suffixOutOfRange = false;

  private:
    const std::vector<TScpiNode>& nodes_;
    const std::vector<TScpiMnemonic>& header_;
};

}  // namespace

void TScpiTree::Add(std::string_view pattern, std::function<void(TScpiCall&)> set,
                    std::function<std::string(TScpiCall&)> query) {
    commands_.push_back({ParsePattern(pattern), std::move(set), std::move(query)});
}

TScpiTree::TMatch TScpiTree::Resolve(const std::vector<TScpiMnemonic>& header,
                                     const std::vector<TScpiPathNode>& current) const {
    bool suffixOutOfRange = false;
    auto find = [&](const std::vector<TScpiPathNode>& start, TMatch& match) {
        for (const auto& command : commands_) {
            if (command.nodes.size() <= start.size()) continue;
            bool prefix = true;
            for (std::size_t i = 0; i < start.size() && prefix; ++i)
                prefix = command.nodes[i].longName == start[i].longName;
            if (!prefix) continue;
            TMatcher matcher(command.nodes, header);
            std::vector<TScpiPathNode> path = start;
            if (matcher.Match(start.size(), 0, path)) {
                match.command = &command;
                match.path = std::move(path);
                return true;
            }
            suffixOutOfRange = suffixOutOfRange || matcher.suffixOutOfRange;
        }
        return false;
    };
    TMatch match;
    if (!(!current.empty() && find(current, match)) && !find({}, match)) {
        if (suffixOutOfRange) throw TScpiError{seHeaderSuffixOutOfRange, {}};
        throw TScpiError{seUndefinedHeader, {}};
    }
    for (std::size_t i = 0; i < match.path.size(); ++i) {
        const int slot = match.command->nodes[i].suffixSlot;
        if (slot >= 0) match.suffixes[slot] = match.path[i].suffix;
    }
    return match;
}

std::vector<TScpiPathNode> TScpiTree::PathAfter(const TMatch& match) {
    std::vector<TScpiPathNode> path = match.path;
    while (!path.empty() && !path.back().written) path.pop_back();
    if (!path.empty()) path.pop_back();
    return path;
}
