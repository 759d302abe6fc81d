#include "GiftMaker.h"

#include "HelpText.h"
#include "InfoCommand.h"
#include "MakeGift.h"
#include "MakeOptions.h"
#include "PreviewCommand.h"
#include "ToolError.h"
#include "files/GiftError.h"

#include <functional>
#include <map>

namespace zg::maker {
namespace {

constexpr const char* kProgram = "gift-maker";

using SubCommand = std::function<int(const std::vector<std::string>& args, std::ostream& out)>;

int infoCommand(const std::vector<std::string>& args, std::ostream& out) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << helpText();
        return 0;
    }
    if (args.size() != 1) {
        throw UsageError("info takes exactly one gift file");
    }
    try {
        runInfo(args[0], out);
    } catch (const GiftDamagedError& e) {
        throw ToolError(args[0] + ": " + e.what());
    }
    return 0;
}

int previewCommand(const std::vector<std::string>& args, std::ostream& out) {
    const PreviewOptions options = parsePreviewOptions(args);
    if (options.help) {
        out << helpText();
        return 0;
    }
    runPreview(options);
    return 0;
}

int helpCommand(const std::vector<std::string>&, std::ostream& out) {
    out << helpText();
    return 0;
}

/// Sub-commands by name; anything else is the making of a gift.
const std::map<std::string, SubCommand>& subCommands() {
    static const std::map<std::string, SubCommand> commands = {
        {"info", infoCommand},
        {"preview", previewCommand},
        {"help", helpCommand},
    };
    return commands;
}

int makeCommand(const std::vector<std::string>& args, std::ostream& out) {
    const MakeOptions options = parseMakeOptions(args);
    if (options.help) {
        out << helpText();
        return 0;
    }
    makeGift(options, out);
    return 0;
}

} // namespace

int runGiftMaker(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        if (args.empty()) {
            throw UsageError("no picture given");
        }
        const auto sub = subCommands().find(args[0]);
        if (sub != subCommands().end()) {
            return sub->second(std::vector<std::string>(args.begin() + 1, args.end()), out);
        }
        return makeCommand(args, out);
    } catch (const UsageError& e) {
        err << kProgram << ": " << e.what() << "\nTry '" << kProgram << " --help' for more information.\n";
        return 2;
    } catch (const std::exception& e) {
        err << kProgram << ": " << e.what() << '\n';
        return 1;
    }
}

} // namespace zg::maker
