#include "files/InfoTexts.h"

#include "files/Cp1252.h"

#include <algorithm>
#include <string_view>

namespace zg {

std::string sizeText(const TGameState& state) {
    return std::to_string(state.PieceCount) + " pieces " + std::to_string(state.Cols) + "x" +
           std::to_string(state.Rows) + ", (" + std::to_string(state.PictureWidth) + "x" +
           std::to_string(state.PictureHeight) + ")";
}

std::optional<int> expectedMajorVersion(int version) {
    switch (version) {
    case 1:
        return 1;
    case 2:
        return -1;
    case 3:
        return 2;
    case 4:
        return 3;
    case 5:
        return 4;
    default:
        return std::nullopt;
    }
}

std::string versionRemark(const TGameState& state) {
    const std::optional<int> expected = expectedMajorVersion(state.Version);
    if (!expected) {
        return {};
    }
    // Only the character after the leading "v" counts; case does not matter
    // for a digit, and anything else reads as major version 0.
    int major = 0;
    if (state.MakerVersion.size() >= 2) {
        const char c = state.MakerVersion[1];
        if (c >= '0' && c <= '9') {
            major = c - '0';
        }
    }
    if (major == *expected) {
        return {};
    }
    return " (as v" + std::to_string(*expected) + ")";
}

std::string creationText(const TGameState& state, const DateFormatter& formatDate) {
    const std::string date = formatDate ? formatDate(state.Created) : std::string();
    return "Created " + date + " by version " + state.MakerVersion + " " + versionRemark(state);
}

std::string cheatRemark(const TGameState& state) {
    if (state.AutoSolved) {
        return ". You used Auto-solve!";
    }
    switch (state.CheatCount) {
    case 0:
        return " without cheating!";
    case 1:
        return " by cheating once!";
    default:
        return " by cheating " + std::to_string(state.CheatCount) + " times!";
    }
}

std::string progressSoFarText(const TGameState& state) {
    return "You have solved " + std::to_string(state.SolvedCount) + " out of " +
           std::to_string(state.PieceCount) + " pieces" + cheatRemark(state);
}

std::string completionText(const TGameState& state) {
    // Division truncates toward zero, as everywhere in the game's arithmetic.
    return "You solved all " + std::to_string(state.PieceCount) + " pieces in " +
           std::to_string(state.ElapsedSeconds / 60) + " minutes and " +
           std::to_string(state.ElapsedSeconds % 60) + " seconds" + cheatRemark(state);
}

AboutTexts aboutTexts(const TGameState& state, const DateFormatter& formatDate) {
    AboutTexts texts;
    texts.TitleName = state.Title;
    texts.CreatorName = state.Creator;
    texts.PuzzleStats = sizeText(state);
    texts.CreationStats = creationText(state, formatDate);
    texts.JigStatus = progressSoFarText(state);
    if (state.HasDescription) {
        // The block is zero-terminated; a block without a terminator ends at its capacity.
        const auto* bytes = reinterpret_cast<const char*>(state.Description.data());
        const auto end = std::find(bytes, bytes + state.Description.size(), '\0');
        texts.Description = cp1252ToUtf8(std::string_view(bytes, std::size_t(end - bytes)));
    }
    return texts;
}

} // namespace zg
