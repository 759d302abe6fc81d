#pragma once

#include "ToolError.h"

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zg::maker {

/// How one command reads its command line: the options without a value
/// (flags), the options with one, and other names for options.
template <typename Options> struct OptionSyntax {
    using Flag = std::function<void(Options&)>;
    using Setter = std::function<void(Options&, const std::string& option, const std::string& value)>;

    std::map<std::string, Flag> flags;
    std::map<std::string, Setter> valued;
    std::map<std::string, std::string> aliases; ///< e.g. "-o" -> "--output"
    std::string context;                        ///< put before "unknown option", e.g. "preview: "
};

/// Applies the options in `args` to `options` and returns the operands, in
/// order. A valued option takes the next argument or the text after "=";
/// "--" ends the options; "-" alone is an operand.
/// @throws UsageError for an unknown option or a missing value.
template <typename Options>
std::vector<std::string> parseArguments(const std::vector<std::string>& args,
                                        const OptionSyntax<Options>& syntax, Options& options) {
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> value;
        if (const std::size_t eq = name.find('='); name.starts_with("--") && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        if (const auto alias = syntax.aliases.find(name); alias != syntax.aliases.end()) {
            name = alias->second;
        }
        if (const auto flag = syntax.flags.find(name); flag != syntax.flags.end() && !value) {
            flag->second(options);
            continue;
        }
        const auto entry = syntax.valued.find(name);
        if (entry == syntax.valued.end()) {
            throw UsageError(syntax.context + "unknown option " + arg);
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                throw UsageError(name + " needs a value");
            }
            value = args[++i];
        }
        entry->second(options, name, *value);
    }
    return operands;
}

} // namespace zg::maker
