#pragma once

#include "files/TGameState.h"

#include <functional>
#include <optional>
#include <string>

namespace zg {

/// Turns a creation date (days since 30 December 1899, as `TGameState::Created`
/// holds it) into the user's short date text. The windowing side supplies it
/// from the locale; the core never knows the locale.
using DateFormatter = std::function<std::string(double created)>;

/// "42 pieces 7x6, (400x300)": piece count, grid and picture size at 100 %.
std::string sizeText(const TGameState& state);

/// The major version the record version was cut with: 1 -> 1, 2 -> -1, 3 -> 2,
/// 4 -> 3, 5 -> 4; nullopt for any other record version.
std::optional<int> expectedMajorVersion(int version);

/// " (as v4)" when the maker's version text ("v3.01") names another major
/// version than the record version was cut with, else empty. The major version
/// is the character after the "v"; a non-digit or a missing one counts as 0.
std::string versionRemark(const TGameState& state);

/// "Created <date> by version <MakerVersion> <remark>"; with no remark the
/// text ends in a space. `formatDate` gives the locale's short date.
std::string creationText(const TGameState& state, const DateFormatter& formatDate);

/// What follows the progress and completion texts: ". You used Auto-solve!"
/// when auto-solve was used, else " without cheating!", " by cheating once!" or
/// " by cheating N times!".
std::string cheatRemark(const TGameState& state);

/// "You have solved S out of N pieces" followed by the cheat remark.
std::string progressSoFarText(const TGameState& state);

/// "You solved all N pieces in M minutes and S seconds" followed by the cheat
/// remark; minutes are not folded into hours.
std::string completionText(const TGameState& state);

/// The values of the "About this jigsaw" dialog's labels.
struct AboutTexts {
    std::string TitleName;
    std::string CreatorName;
    std::string PuzzleStats;   ///< sizeText
    std::string CreationStats; ///< creationText
    std::string JigStatus;     ///< progressSoFarText
    /// The puzzle's description as UTF-8 when the record has one; when empty
    /// the dialog keeps its own text.
    std::optional<std::string> Description;
};

/// Composes every text of the "About this jigsaw" dialog from the record.
AboutTexts aboutTexts(const TGameState& state, const DateFormatter& formatDate);

} // namespace zg
