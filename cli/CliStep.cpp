#include "cli/CliStep.h"

#include "cli/CliUsageError.h"
#include "props/PropertyTable.h"

namespace {

const TPropertyDef& FindProperty(const std::string& path) {
    const TPropertyDef* def = TPropertyTable::Instance().Find(path);
    if (!def) throw ECliUsageError("unknown property '" + path + "'");
    return *def;
}

TCliStep ParseAssignment(const std::string& word, std::size_t eq) {
    TCliStep step;
    step.kind = TCliStep::skSet;
    step.text = word;
    const TPropertyDef& def = FindProperty(word.substr(0, eq));
    if (def.ReadOnly()) throw ECliUsageError("property '" + def.path + "' is read-only");
    const std::string text = word.substr(eq + 1);
    auto value = ParsePropertyValue(def.kind, def.enumInfo, text);
    if (!value) {
        const char* expected = def.kind == vkBool       ? "0, 1, true or false"
                               : def.kind == vkInt      ? "a whole number"
                               : def.kind == vkUnsigned ? "a whole number of 0 or more"
                               : def.kind == vkDouble   ? "a number"
                                                        : "an enumerator name or its number";
        throw ECliUsageError("'" + text + "' is not a value of " + def.path + " (" + expected +
                             ")");
    }
    step.prop = &def;
    step.value = *value;
    return step;
}

}  // namespace

std::vector<TCliStep> ParseSteps(const std::vector<std::string>& words) {
    std::vector<TCliStep> steps;
    for (std::size_t n = 0; n < words.size(); ++n) {
        const std::string& word = words[n];
        // The argument of a two-word step.
        auto argument = [&](const char* what) -> const std::string& {
            if (n + 1 >= words.size()) throw ECliUsageError("'" + word + "' needs " + what);
            return words[++n];
        };
        TCliStep step;
        step.text = word;
        if (word == "update") {
            step.kind = TCliStep::skUpdate;
        } else if (word == "state") {
            step.kind = TCliStep::skState;
        } else if (word == "save" || word == "load") {
            step.kind = word == "save" ? TCliStep::skSave : TCliStep::skLoad;
            step.file = argument("a file name");
            if (step.file.empty()) throw ECliUsageError("'" + word + "' needs a file name");
            step.text += " " + step.file;
        } else if (word == "adc") {
            const std::string& ch = argument("a channel, A or B");
            if (ch != "A" && ch != "B") throw ECliUsageError("adc needs A or B, not '" + ch + "'");
            step.kind = TCliStep::skAdc;
            step.channelA = ch == "A";
            step.text += " " + ch;
        } else if (word == "wait") {
            const std::string& ms = argument("a time in ms");
            auto value = ParsePropertyValue(vkUnsigned, nullptr, ms);
            if (!value) throw ECliUsageError("wait needs a whole number of ms, not '" + ms + "'");
            step.kind = TCliStep::skWait;
            step.ms = static_cast<uint32_t>(value->i);
            step.text += " " + ms;
        } else if (auto eq = word.find('='); eq != std::string::npos) {
            step = ParseAssignment(word, eq);
        } else if (!word.empty() && word.back() == '?') {
            step.kind = TCliStep::skGet;
            step.prop = &FindProperty(word.substr(0, word.size() - 1));
        } else if (word.rfind("--", 0) == 0) {
            throw ECliUsageError("option '" + word + "' after the steps (options come first)");
        } else {
            throw ECliUsageError("unknown step '" + word + "'");
        }
        steps.push_back(std::move(step));
    }
    return steps;
}
