#include "PlayerChoice.h"

#include "ToolError.h"
#include "files/GiftFile.h"
#include "launcher/GiftLayout.h"

#include <filesystem>

namespace zg::maker {

namespace fs = std::filesystem;

std::string choosePlayer(const MakeOptions& options) {
    std::string player;
    if (options.playerPath) {
        player = *options.playerPath;
    } else {
        const std::string self = currentExecutablePath();
        if (self.empty()) {
            throw ToolError("cannot find the folder of gift-maker; name the player with --player");
        }
        const fs::path folder = fs::path(self).parent_path();
        player = (folder / (options.systemLibraries ? "zanthoria-gift" : "zanthoria-gift-portable")).string();
        std::error_code ec;
        if (!options.systemLibraries && !fs::is_regular_file(player, ec)) {
            throw ToolError("the portable player \"" + player +
                            "\" has not been built (build the target portable-player), or make a gift "
                            "that uses the system's libraries with --system-libraries");
        }
    }
    if (options.systemLibraries) {
        bool portable = false;
        try {
            portable = bundle::findBundle(player).has_value();
        } catch (const std::runtime_error&) {
            // Unreadable: reading the player reports it with its reason.
        }
        if (portable) {
            throw ToolError("--system-libraries needs the plain player, but \"" + player +
                            "\" is a portable one");
        }
    }
    return player;
}

} // namespace zg::maker
