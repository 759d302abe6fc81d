#pragma once

namespace zg::maker {

/// The text `gift-maker --help` prints: every sub-command and option with its default.
const char* helpText();

} // namespace zg::maker
