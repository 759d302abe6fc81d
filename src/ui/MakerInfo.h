#pragma once

namespace zg {

/// The program's version as the windows show it.
inline constexpr const char* kProgramVersion = "v2.21";
/// The maker's notice shown on the splash and about windows.
inline constexpr const char* kMakerNotice = "Copyright \u00A9 Zanthoria. Free to give, free to play.";
/// The maker's web page, shown as the caption of the web buttons and opened by them.
inline constexpr const char* kMakerWebAddress = "https://zanthoria.example/";

} // namespace zg
