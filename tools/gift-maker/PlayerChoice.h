#pragma once

#include "MakeOptions.h"

#include <string>

namespace zg::maker {

/// The player a gift is made from: the one --player names, else the portable
/// player beside gift-maker (zanthoria-gift-portable: launcher and bundle,
/// runs without installed libraries), or with --system-libraries the plain
/// player beside it (zanthoria-gift: small, needs the libraries installed).
/// @throws ToolError when gift-maker's folder is unknown, the default portable
///         player was not built, or --system-libraries is given with a
///         portable player.
std::string choosePlayer(const MakeOptions& options);

} // namespace zg::maker
