#include "MakeOptions.h"

#include "ArgumentParser.h"
#include "OptionValues.h"
#include "ToolError.h"
#include "files/GiftInfo.h"

#include <functional>
#include <map>

namespace zg::maker {
namespace {

using Setter = OptionSyntax<MakeOptions>::Setter;

void setText(TextOption& target, const std::string& option, const std::string& value, bool fromFile) {
    target.option = option;
    target.value = value;
    target.fromFile = fromFile;
}

/// Every option that takes a value, by its long name.
const std::map<std::string, Setter>& optionTable() {
    static const std::map<std::string, Setter> table = {
        {"--output", [](MakeOptions& o, auto&, auto& v) { o.outputPath = v; }},
        {"--player", [](MakeOptions& o, auto&, auto& v) { o.playerPath = v; }},
        {"--music", [](MakeOptions& o, auto&, auto& v) { o.musicPath = v; }},
        {"--title", [](MakeOptions& o, auto& n, auto& v) { setText(o.title, n, v, false); }},
        {"--creator", [](MakeOptions& o, auto& n, auto& v) { setText(o.creator, n, v, false); }},
        {"--description", [](MakeOptions& o, auto& n, auto& v) { setText(o.description, n, v, false); }},
        {"--description-file", [](MakeOptions& o, auto& n, auto& v) { setText(o.description, n, v, true); }},
        {"--start-message", [](MakeOptions& o, auto& n, auto& v) { setText(o.startMessage, n, v, false); }},
        {"--start-message-file",
         [](MakeOptions& o, auto& n, auto& v) { setText(o.startMessage, n, v, true); }},
        {"--end-message", [](MakeOptions& o, auto& n, auto& v) { setText(o.endMessage, n, v, false); }},
        {"--end-message-file", [](MakeOptions& o, auto& n, auto& v) { setText(o.endMessage, n, v, true); }},
        {"--maker-version", [](MakeOptions& o, auto& n, auto& v) { setText(o.makerVersion, n, v, false); }},
        {"--start-font",
         [](MakeOptions& o, auto& n, auto& v) {
             parseFont(n, v, o.info.StartFont);
             o.startFontOption = n;
         }},
        {"--end-font",
         [](MakeOptions& o, auto& n, auto& v) {
             parseFont(n, v, o.info.EndFont);
             o.endFontOption = n;
         }},
        {"--start-font-color",
         [](MakeOptions& o, auto& n, auto& v) { o.info.StartFont.Color = parseColor(n, v); }},
        {"--end-font-color",
         [](MakeOptions& o, auto& n, auto& v) { o.info.EndFont.Color = parseColor(n, v); }},
        {"--start-font-pitch",
         [](MakeOptions& o, auto& n, auto& v) { o.info.StartFont.Pitch = parsePitch(n, v); }},
        {"--end-font-pitch",
         [](MakeOptions& o, auto& n, auto& v) { o.info.EndFont.Pitch = parsePitch(n, v); }},
        {"--start-background",
         [](MakeOptions& o, auto& n, auto& v) {
             parseColor(n, v);
             setText(o.startBackground, n, v, false);
         }},
        {"--end-background",
         [](MakeOptions& o, auto& n, auto& v) {
             parseColor(n, v);
             setText(o.endBackground, n, v, false);
         }},
        {"--start-align", [](MakeOptions& o, auto& n, auto& v) { o.info.StartAlign = parseAlign(n, v); }},
        {"--end-align", [](MakeOptions& o, auto& n, auto& v) { o.info.EndAlign = parseAlign(n, v); }},
        {"--background-color",
         [](MakeOptions& o, auto& n, auto& v) { o.info.BackgroundColor = parseColor(n, v); }},
        {"--pieces", [](MakeOptions& o, auto& n,
                        auto& v) { o.info.RequestedPieces = uint16_t(parseInteger(n, v, 1, 65535)); }},
        {"--oddness",
         [](MakeOptions& o, auto& n, auto& v) { o.info.Oddness = uint16_t(parseInteger(n, v, 0, 10)); }},
        {"--style", [](MakeOptions& o, auto& n, auto& v) { o.info.Style = parseStyle(n, v); }},
        {"--outline", [](MakeOptions& o, auto& n, auto& v) { o.info.OutlineStyle = parseOutline(n, v); }},
        {"--rotation",
         [](MakeOptions& o, auto& n, auto& v) { o.info.RotationOn = parseSwitch(n, v) ? 1 : 0; }},
        {"--seed",
         [](MakeOptions& o, auto& n, auto& v) { o.seed = uint32_t(parseInteger(n, v, 0, 0xFFFFFFFF)); }},
        {"--max-size",
         [](MakeOptions& o, auto& n, auto& v) { o.maxSide = int32_t(parseInteger(n, v, 16, 16384)); }},
        {"--created",
         [](MakeOptions& o, auto& n, auto& v) {
             o.created = parseGiftDate(v);
             if (!o.created) {
                 throw UsageError(n + ": \"" + v + "\" is not a date of the form YYYY-MM-DD HH:MM:SS");
             }
         }},
    };
    return table;
}

} // namespace

MakeOptions parseMakeOptions(const std::vector<std::string>& args) {
    OptionSyntax<MakeOptions> syntax;
    syntax.flags = {{"--help", [](MakeOptions& o) { o.help = true; }},
                    {"-h", [](MakeOptions& o) { o.help = true; }},
                    {"--keep-size", [](MakeOptions& o) { o.maxSide.reset(); }},
                    {"--system-libraries", [](MakeOptions& o) { o.systemLibraries = true; }}};
    syntax.valued = optionTable();
    syntax.aliases = {{"-o", "--output"}};
    MakeOptions options;
    const std::vector<std::string> operands = parseArguments(args, syntax, options);
    if (options.help) {
        return options;
    }
    if (operands.empty()) {
        throw UsageError("no picture given");
    }
    if (operands.size() > 1) {
        throw UsageError("more than one picture given: " + operands[0] + ", " + operands[1]);
    }
    options.picturePath = operands[0];
    if (options.outputPath.empty()) {
        throw UsageError("no output given (-o GIFT)");
    }
    return options;
}

} // namespace zg::maker
