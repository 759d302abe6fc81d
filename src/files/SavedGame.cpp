#include "files/SavedGame.h"

#include "files/Cp1252.h"
#include "files/PackedIo.h"
#include "files/Real48.h"

#include <algorithm>

namespace zg {

namespace {

constexpr std::size_t kMakerVersionCapacity = 15;
constexpr std::size_t kNameCapacity = 64;
constexpr std::size_t kUnusedAfterDescription = 3063;

void writeText(PackedWriter& out, const std::string& utf8, std::size_t capacity) {
    out.shortString(toCp1252Lossy(utf8, capacity), capacity);
}

std::string readText(PackedReader& in, std::size_t capacity) {
    return cp1252ToUtf8(in.shortString(capacity));
}

void writeReal(PackedWriter& out, double value) {
    const Real48 bytes = toReal48(value);
    out.bytes(bytes);
}

double readReal(PackedReader& in) {
    return fromReal48(std::span<const uint8_t, 6>(in.bytes(6).data(), 6));
}

} // namespace

bool SettingsBlock::usable() const {
    const auto isSwitch = [](uint8_t v) { return v <= 1; };
    const bool divisorKnown =
        SnapDivisor == 2 || SnapDivisor == 3 || SnapDivisor == 4 || SnapDivisor == 6 || SnapDivisor == 10;
    return Marker == kSettingsMarker && isSwitch(ShadowsOn) && isSwitch(RotationOn) && isSwitch(CheatingOn) &&
           isSwitch(SoundOn) && isSwitch(Music) && isSwitch(GhostOn) && OutlineStyle >= 0 &&
           OutlineStyle <= 3 && divisorKnown;
}

void writeGameState(PackedWriter& out, const TGameState& s) {
    out.i16(s.Version);
    out.zeros(16);
    out.i32(s.MaskBufferSize);
    writeText(out, s.MakerVersion, kMakerVersionCapacity);
    out.f64(s.Created);
    writeText(out, s.Title, kNameCapacity);
    writeText(out, s.Creator, kNameCapacity);
    out.bytes(s.Description);
    out.zeros(kUnusedAfterDescription);
    out.i32(s.Style);
    out.zeros(8);
    out.i16(s.RequestedPieces);
    out.u16(s.PieceCount);
    out.u16(s.Cols);
    out.u16(s.Rows);
    out.i16(s.Reserved24);
    out.u16(s.Oddness);
    out.i32(s.Seed);
    out.i32(s.NextGroupId);
    out.u16(s.PictureWidth);
    out.u16(s.PictureHeight);
    out.u16(s.ScaledWidth);
    out.u16(s.ScaledHeight);
    out.u16(s.PieceWidth);
    out.u16(s.PieceHeight);
    out.u16(s.AtlasWidth);
    out.u16(s.AtlasHeight);
    out.u8(s.Solved);
    out.u16(s.SolvedCount);
    out.i32(s.ElapsedSeconds);
    out.u16(s.CheatCount);
    out.u8(s.AutoSolved);
    out.u8(s.HasDescription);
    writeText(out, s.Spare1, kNameCapacity);
    writeText(out, s.Spare2, kNameCapacity);
    out.i16(s.ScalePercent);
    out.i16(s.ReservedLast);
}

TGameState readGameState(PackedReader& in) {
    if (in.remaining() < kGameStateSize) {
        throw std::out_of_range("game record cut short");
    }
    TGameState s;
    s.Version = in.i16();
    in.skip(16);
    s.MaskBufferSize = in.i32();
    s.MakerVersion = readText(in, kMakerVersionCapacity);
    s.Created = in.f64();
    s.Title = readText(in, kNameCapacity);
    s.Creator = readText(in, kNameCapacity);
    const std::span<const uint8_t> description = in.bytes(s.Description.size());
    std::copy(description.begin(), description.end(), s.Description.begin());
    in.skip(kUnusedAfterDescription);
    s.Style = in.i32();
    in.skip(8);
    s.RequestedPieces = in.i16();
    s.PieceCount = in.u16();
    s.Cols = in.u16();
    s.Rows = in.u16();
    s.Reserved24 = in.i16();
    s.Oddness = in.u16();
    s.Seed = in.i32();
    s.NextGroupId = in.i32();
    s.PictureWidth = in.u16();
    s.PictureHeight = in.u16();
    s.ScaledWidth = in.u16();
    s.ScaledHeight = in.u16();
    s.PieceWidth = in.u16();
    s.PieceHeight = in.u16();
    s.AtlasWidth = in.u16();
    s.AtlasHeight = in.u16();
    s.Solved = in.u8();
    s.SolvedCount = in.u16();
    s.ElapsedSeconds = in.i32();
    s.CheatCount = in.u16();
    s.AutoSolved = in.u8();
    s.HasDescription = in.u8();
    s.Spare1 = readText(in, kNameCapacity);
    s.Spare2 = readText(in, kNameCapacity);
    s.ScalePercent = in.i16();
    s.ReservedLast = in.i16();
    return s;
}

void writeGameExtra(PackedWriter& out, const TGameExtra& e) {
    out.zeros(8);
    out.u16(e.SavedTrayCount);
    out.u16(e.FirstVisibleTray);
    out.u8(e.LimitOn);
    out.u8(e.CountDown);
    out.u8(e.ShowLimit);
    out.i32(e.TimeLimit);
    out.i32(e.BackgroundColor);
    out.i32(e.NextStackStamp);
}

TGameExtra readGameExtra(PackedReader& in) {
    if (in.remaining() < kGameExtraSize) {
        throw std::out_of_range("extra block cut short");
    }
    TGameExtra e;
    in.skip(8);
    e.SavedTrayCount = in.u16();
    e.FirstVisibleTray = in.u16();
    e.LimitOn = in.u8();
    e.CountDown = in.u8();
    e.ShowLimit = in.u8();
    e.TimeLimit = in.i32();
    e.BackgroundColor = in.i32();
    e.NextStackStamp = in.i32();
    return e;
}

std::size_t savedGameSize(int16_t version, uint32_t pieceCount, uint32_t savedTrayCount) {
    const std::size_t trays = savedTrayCount >= 2 ? savedTrayCount - 1 : 0;
    return kGameStateSize + (version >= 3 ? kGameExtraSize : 0) +
           std::size_t(pieceCount) * (kPieceBlockASize + kPieceBlockBSize + kPieceBlockCSize) +
           trays * TrayRecord::kSize + kSettingsBlockSize;
}

SavedGame parseSavedGame(std::span<const uint8_t> bytes) {
    if (bytes.size() < kGameStateSize) {
        throw SavedGameError("the file ends inside the game record");
    }
    PackedReader in(bytes);
    SavedGame game;
    game.State = readGameState(in);
    const TGameState& s = game.State;
    if (uint32_t(s.PieceCount) != uint32_t(s.Cols) * s.Rows || s.PieceCount == 0) {
        throw SavedGameError("the piece count does not match the grid");
    }
    if (s.Version >= 3) {
        if (in.remaining() < kGameExtraSize) {
            throw SavedGameError("the file ends inside the extra block");
        }
        game.Extra = readGameExtra(in);
    }
    // Every count is known now: the file must be exactly as long as they say
    // before anything is allocated from them.
    const std::size_t expected = savedGameSize(s.Version, s.PieceCount, game.Extra.SavedTrayCount);
    if (bytes.size() != expected) {
        throw SavedGameError(bytes.size() < expected ? "the file ends early"
                                                     : "the file runs on past its end");
    }

    game.Pieces.resize(s.PieceCount);
    for (SavedPiece& p : game.Pieces) {
        p.HomeX = in.i16();
        p.HomeY = in.i16();
        p.Width = in.u16();
        p.Height = in.u16();
        p.ColorKey = in.u32();
    }
    for (SavedPiece& p : game.Pieces) {
        p.RelX = readReal(in);
        p.RelY = readReal(in);
        p.GroupId = in.u32();
        p.Stacking = in.i16();
        p.Rotation = uint8_t(in.u8() & 3);
        p.Joined = in.u8();
        p.Settled = in.u8();
        p.Placed = in.u8();
        if ((p.Rotation & 1) != 0) {
            std::swap(p.Width, p.Height);
        }
    }
    for (SavedPiece& p : game.Pieces) {
        p.TrayIndex = in.i16();
    }
    if (game.Extra.SavedTrayCount >= 2) {
        game.Trays.reserve(game.Extra.SavedTrayCount - 1u);
        for (uint32_t i = 1; i < game.Extra.SavedTrayCount; ++i) {
            game.Trays.push_back(TrayRecord::read(in));
        }
    }
    SettingsBlock& b = game.Settings;
    b.ShadowsOn = in.u8();
    b.RotationOn = in.u8();
    b.CheatingOn = in.u8();
    b.SoundOn = in.u8();
    b.Music = in.u8();
    b.OutlineStyle = in.i32();
    b.GhostOn = in.u8();
    b.SnapDivisor = in.i32();
    b.BoardWidth = in.i32();
    b.BoardHeight = in.i32();
    b.Marker = in.i32();
    return game;
}

std::vector<uint8_t> encodeSavedGame(const SavedGame& game) {
    const std::size_t trays = std::min<std::size_t>(game.Trays.size(), 0xFFFE);
    TGameExtra extra = game.Extra;
    extra.SavedTrayCount = uint16_t(trays + 1);
    const std::size_t pieces = game.Pieces.size();
    // The extra block is always written, and a reader skips it for a record
    // below version 3: 1 and 2 are written as 3, which cuts with the same
    // older generator; anything else below 3 cuts with the current one (5).
    TGameState state = game.State;
    if (state.Version == 1 || state.Version == 2) {
        state.Version = 3;
    } else if (state.Version < 3) {
        state.Version = 5;
    }

    std::vector<uint8_t> bytes;
    bytes.reserve(savedGameSize(state.Version, uint32_t(pieces), uint32_t(trays + 1)));
    PackedWriter out(bytes);
    writeGameState(out, state);
    writeGameExtra(out, extra);
    for (const SavedPiece& p : game.Pieces) {
        out.i16(p.HomeX);
        out.i16(p.HomeY);
        out.u16(p.Width);
        out.u16(p.Height);
        out.u32(p.ColorKey);
    }
    for (const SavedPiece& p : game.Pieces) {
        writeReal(out, p.RelX);
        writeReal(out, p.RelY);
        out.u32(p.GroupId);
        out.i16(p.Stacking);
        out.u8(uint8_t(p.Rotation & 3));
        out.u8(p.Joined);
        out.u8(p.Settled);
        out.u8(p.Placed);
    }
    for (const SavedPiece& p : game.Pieces) {
        out.i16(p.TrayIndex);
    }
    for (std::size_t i = 0; i < trays; ++i) {
        game.Trays[i].write(out);
    }
    const SettingsBlock& b = game.Settings;
    out.u8(b.ShadowsOn);
    out.u8(b.RotationOn);
    out.u8(b.CheatingOn);
    out.u8(b.SoundOn);
    out.u8(b.Music);
    out.i32(b.OutlineStyle);
    out.u8(b.GhostOn);
    out.i32(b.SnapDivisor);
    out.i32(b.BoardWidth);
    out.i32(b.BoardHeight);
    out.i32(kSettingsMarker);
    return bytes;
}

} // namespace zg
