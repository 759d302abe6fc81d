#pragma once

#include <string>

namespace zg {

/// What a portable gift's launcher tells the player it starts: the gift file
/// itself (the player then runs from a cache folder, not from the gift) and
/// the folder it unpacked the bundled libraries, plugins, fonts and soundfont into.
inline constexpr const char* kGiftPathVariable = "ZANTHORIA_GIFT_PATH";
inline constexpr const char* kBundleDirVariable = "ZANTHORIA_GIFT_BUNDLE";

/// The file the running player reads its gift from; the saved game's name
/// derives from it. That is the path a portable gift's launcher handed over,
/// or else the running program itself (/proc/self/exe); "" when neither is known.
/// Read once; the variable is then removed from the environment, so programs
/// the player starts do not inherit it.
const std::string& giftPath();

/// The folder of the unpacked bundle the player runs from, or "" when it uses
/// the system's libraries. Read once and removed from the environment like giftPath().
const std::string& bundleDirectory();

} // namespace zg
