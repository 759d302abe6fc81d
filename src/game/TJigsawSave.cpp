// The puzzle's side of the saved game: making the file image, resuming from
// one after checking it whole, and the files beside the gift.

#include "files/SaveFiles.h"
#include "game/TJigsaw.h"
#include "pieces/AtlasTooLargeError.h"
#include "pieces/Cutter.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>

namespace zg {

namespace {

/// Larger than the largest saved game (65,535 pieces and as many trays).
constexpr std::size_t kSavedGameLimit = 16u << 20;
/// Group numbers at or above this are renumbered, so NextGroupId can never wrap.
constexpr int64_t kGroupIdLimit = int64_t(1) << 30;
/// A relative position further out than this is damage, not a place on a board.
constexpr double kRelativeLimit = 1e6;

int16_t clampInt16(int32_t v) {
    return int16_t(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX));
}

bool usableRelative(double v) {
    return std::isfinite(v) && std::fabs(v) <= kRelativeLimit;
}

} // namespace

SavedGame TJigsaw::makeSavedGame() const {
    SavedGame game;
    game.State = State;
    game.Extra = Extra;
    StoreTrayState(game.Extra);
    game.Extra.BackgroundColor = int32_t(host().boardColorChoice().value_or(BoardColor));

    game.Pieces.reserve(Pieces.size());
    for (const TFormPiece* p : Pieces) {
        SavedPiece s;
        s.HomeX = clampInt16(p->HomeX);
        s.HomeY = clampInt16(p->HomeY);
        // A turn still waiting for its images counts as made: the file keeps
        // the turned size, as for any turned piece.
        const bool pendingOdd = (p->PendingTurns & 1) != 0;
        s.Width = pendingOdd ? p->Height : p->Width;
        s.Height = pendingOdd ? p->Width : p->Height;
        s.ColorKey = uint32_t(p->ColorKey);
        s.RelX = p->RelX;
        s.RelY = p->RelY;
        s.GroupId = uint32_t(p->GroupId);
        s.Stacking = int16_t(p->Stacking);
        s.Rotation = uint8_t((p->Rotation + p->PendingTurns) & 3);
        s.Joined = p->Joined ? 1 : 0;
        s.Settled = p->Settled ? 1 : 0;
        s.Placed = p->Placed ? 1 : 0;
        s.TrayIndex = clampInt16(p->TrayIndex);
        game.Pieces.push_back(s);
    }
    game.Trays = userTrayRecords();
    SettingsBlock& b = game.Settings;
    b.ShadowsOn = Config.ShadowsOn;
    b.RotationOn = Config.RotationOn;
    b.CheatingOn = Config.CheatingOn;
    b.SoundOn = Config.SoundOn;
    b.Music = host().musicOn();
    b.OutlineStyle = Config.OutlineStyle;
    b.GhostOn = Config.GhostOn;
    b.SnapDivisor = Config.SnapDivisor;
    b.BoardWidth = Config.BoardWidth;
    b.BoardHeight = Config.BoardHeight;
    return game;
}

bool TJigsaw::SaveGame(const FileWriter& writer) {
    if (!IsPlaying() || pieceCount() == 0) {
        return false;
    }
    try {
        // Every piece's place, not only each group leader's, so the file
        // holds the board exactly as it is.
        for (const auto& tray : Trays) {
            const Rect area = tray->ClientRect();
            if (!area.isEmpty() && State.PictureWidth > 0 && State.PictureHeight > 0) {
                for (TFormPiece* p : tray->Pieces) {
                    p->storePosition(area, State.PictureWidth, State.PictureHeight);
                }
            }
        }
        const std::vector<uint8_t> bytes = encodeSavedGame(makeSavedGame());
        return SavedGameFiles(ProgramPath, DataHome)
            .write(SavedGameFiles::Kind::Save, bytes, writer)
            .has_value();
    } catch (const std::exception&) {
        return false;
    }
}

bool TJigsaw::SaveRecovery() {
    if (!IsPlaying() || pieceCount() == 0 || IsLifted()) {
        return false;
    }
    try {
        const std::vector<uint8_t> bytes = encodeSavedGame(makeSavedGame());
        return SavedGameFiles(ProgramPath, DataHome).write(SavedGameFiles::Kind::Recovery, bytes).has_value();
    } catch (const std::exception&) {
        return false;
    }
}

bool TJigsaw::DeleteSavedGame() {
    AutoSolving = false;
    return SavedGameFiles(ProgramPath, DataHome).removeAll();
}

std::string TJigsaw::unreadableSaveMessage(const std::string& reason, const std::string& keptAs) {
    std::string text = "The saved game could not be resumed (" + reason + "), so a new game starts";
    text += keptAs.empty() ? "." : "; the file was kept as \"" + keptAs + "\".";
    return text;
}

bool TJigsaw::TryResume() {
    const SavedGameFiles files(ProgramPath, DataHome);
    if (const auto found = files.findResumable()) {
        std::string reason;
        try {
            const auto bytes = readWholeFile(found->Path, kSavedGameLimit);
            if (!bytes) {
                throw SavedGameError("the file cannot be read");
            }
            resumeFrom(parseSavedGame(*bytes));
            return true;
        } catch (const SavedGameError& error) {
            reason = error.what();
        } catch (const std::out_of_range&) {
            reason = "the file ends early";
        }
        const std::string keptAs = SavedGameFiles::setAside(found->Path);
        host().showMessage(unreadableSaveMessage(reason, keptAs), MessageKind::Warning);
    }
    NewLayout();
    SetGameState(kPlaying);
    return false;
}

void TJigsaw::resumeFrom(const SavedGame& game) {
    const TGameState& saved = game.State;
    if (saved.Cols != State.Cols || saved.Rows != State.Rows || saved.PieceCount != pieceCount() ||
        game.Pieces.size() != Pieces.size()) {
        throw SavedGameError("its grid is not this puzzle's");
    }
    if (saved.PictureWidth != State.PictureWidth || saved.PictureHeight != State.PictureHeight ||
        saved.Seed != State.Seed) {
        throw SavedGameError("it belongs to another puzzle");
    }

    // Everything below only sanitises; nothing can refuse the file any more.
    // The scatter gives every piece a place to fall back on. Its turns are not
    // made: every piece is turned once, below, to the turn the file stores.
    NewLayout(false);

    // The cut: style, oddness and generator from the file, scale when valid.
    const int32_t builtStyle = State.Style;
    const uint16_t builtOddness = State.Oddness;
    const int16_t builtVersion = State.Version;
    State.Style = saved.Style >= 1 && saved.Style <= 6 ? saved.Style : builtStyle;
    State.Oddness = std::min<uint16_t>(saved.Oddness, 10);
    State.Version = saved.Version >= 1 && saved.Version <= 5 ? saved.Version : int16_t(5);
    const int32_t percent = saved.ScalePercent >= 10 && saved.ScalePercent <= 300 ? saved.ScalePercent : 100;
    const bool recut = percent != 100 || State.Style != builtStyle || State.Oddness != builtOddness ||
                       usesOlderGenerator(State.Version) != usesOlderGenerator(builtVersion);
    if (recut) {
        bool cut = false;
        for (const int32_t p : {percent, 100}) {
            try {
                cut = Rescale(p);
            } catch (const AtlasTooLargeError&) {
                cut = false;
            }
            if (cut || p == 100) {
                break;
            }
        }
        if (!cut) {
            // The build from the gift stays as it is.
            State.Style = builtStyle;
            State.Oddness = builtOddness;
            State.Version = builtVersion;
        }
    }

    // The record's counters.
    State.Solved = saved.Solved != 0 ? 1 : 0;
    State.ElapsedSeconds = std::max(saved.ElapsedSeconds, 0);
    State.CheatCount = saved.CheatCount;
    State.AutoSolved = saved.AutoSolved != 0 ? 1 : 0;
    State.HasDescription = saved.HasDescription != 0 ? 1 : 0;
    State.NextGroupId = saved.NextGroupId;
    Extra = game.Extra;

    // The pieces. Their shapes and sizes come from the cut, never from the
    // file; the images are turned from the way they lie now to the stored turn.
    for (std::size_t i = 0; i < Pieces.size(); ++i) {
        TFormPiece& p = *Pieces[i];
        const SavedPiece& s = game.Pieces[i];
        p.ColorKey = int32_t(s.ColorKey);
        if (usableRelative(s.RelX) && usableRelative(s.RelY)) {
            p.RelX = s.RelX;
            p.RelY = s.RelY;
        }
        p.GroupId = int32_t(s.GroupId);
        p.Stacking = uint16_t(s.Stacking);
        p.PendingTurns = uint8_t((s.Rotation - p.Rotation) & 3);
        p.Joined = s.Joined != 0;
        p.Settled = s.Settled != 0;
        p.Placed = s.Placed != 0;
        p.TrayIndex = s.TrayIndex;
    }
    RotatePieces(Pieces, 0, true);
    repairGroups();
    LoadTrays(game.Trays, game.Extra);

    // The options: only a block that is whole and in range; the board size
    // belongs to the window and the ghost picture stays off.
    if (game.Settings.usable()) {
        const SettingsBlock& b = game.Settings;
        Config.ShadowsOn = b.ShadowsOn != 0;
        Config.RotationOn = b.RotationOn != 0;
        Config.CheatingOn = b.CheatingOn != 0;
        Config.SoundOn = b.SoundOn != 0;
        Config.OutlineStyle = b.OutlineStyle;
        host().restoreOptions(Config, b.Music != 0);
    }
    const Color colour = Color(uint32_t(game.Extra.BackgroundColor));
    if (!isSystemColor(colour)) {
        BoardColor = colour & 0xFFFFFFu;
    }
    host().restoreBoardColor(colour);
    ResumeLayout();
}

void TJigsaw::repairGroups() {
    // Group numbers out of range are all renumbered, keeping their order.
    bool renumber = false;
    for (const TFormPiece* p : Pieces) {
        renumber = renumber || p->GroupId < 0 || p->GroupId >= kGroupIdLimit;
    }
    if (renumber) {
        std::map<uint32_t, int32_t> fresh;
        for (const TFormPiece* p : Pieces) {
            fresh.emplace(uint32_t(p->GroupId), 0);
        }
        int32_t next = 0;
        for (auto& entry : fresh) {
            entry.second = next++;
        }
        for (TFormPiece* p : Pieces) {
            p->GroupId = fresh[uint32_t(p->GroupId)];
        }
    }

    std::map<int32_t, std::vector<TFormPiece*>> groups;
    int64_t highest = -1;
    for (TFormPiece* p : Pieces) {
        groups[p->GroupId].push_back(p);
        highest = std::max<int64_t>(highest, p->GroupId);
    }
    int64_t next = std::max<int64_t>(highest + 1, std::clamp<int64_t>(State.NextGroupId, 0, kGroupIdLimit));
    for (auto& [id, members] : groups) {
        if (members.size() == 1) {
            // Joined means joined to another piece.
            members.front()->Joined = false;
            continue;
        }
        // Loose pieces sharing a number are not one group: each gets its own.
        TFormPiece* joinedLead = nullptr;
        for (TFormPiece* p : members) {
            if (!p->Joined) {
                p->GroupId = int32_t(next++);
            } else if (joinedLead == nullptr) {
                joinedLead = p;
            }
        }
        // A group lies in one tray: the tray of its first piece.
        std::size_t joinedCount = 0;
        for (TFormPiece* p : members) {
            if (p->Joined) {
                p->TrayIndex = joinedLead->TrayIndex;
                ++joinedCount;
            }
        }
        if (joinedCount == 1) {
            joinedLead->Joined = false;
        }
    }
    State.NextGroupId = int32_t(next);

    int32_t joined = 0;
    for (const TFormPiece* p : Pieces) {
        joined += p->Joined ? 1 : 0;
    }
    State.SolvedCount = uint16_t(joined);
    if (State.Solved != 0) {
        const int32_t first = Pieces.front()->GroupId;
        State.Solved = std::all_of(Pieces.begin(), Pieces.end(),
                                   [first](const TFormPiece* p) { return p->GroupId == first; })
                           ? 1
                           : 0;
    }
}

void TJigsaw::ResumeLayout() {
    CurrentTray = &mainArea();
    recordBoardSize(Config.BoardWidth, Config.BoardHeight);
    assignEdgeClasses(Pieces);
    SortAllPieces(0);
    CompletionCandidate = false;
    SetGameState(kPlaying);
    if (!Config.RotationOn && std::any_of(Pieces.begin(), Pieces.end(),
                                          [](const TFormPiece* p) { return (p->Rotation & 3) != 0; })) {
        // Turned pieces cannot be turned back with rotation off: the user
        // chooses between turning them upright and rotation on.
        if (host().askQuestion(kResumeRotatedQuestion, false) == Answer::Yes) {
            for (TFormPiece* p : Pieces) {
                TurnPiece(*p, 4 - (p->Rotation & 3));
            }
        } else {
            Config.RotationOn = true;
            host().restoreOptions(Config, host().musicOn());
        }
    }
    // Lays the groups out again: members of a turned group follow their leader.
    SetBoardSize(Config.BoardWidth, Config.BoardHeight);
}

} // namespace zg
