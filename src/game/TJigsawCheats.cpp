// The piece commands that change groups and stacking (Unlock, Send To Back)
// and the cheats: hints, neighbours, right way up and auto-solve.

#include "game/TJigsaw.h"
#include "gfx/KeepVisible.h"
#include "host/Host.h"

#include <algorithm>
#include <limits>

namespace zg {

namespace {

constexpr int32_t kFlashes = 8;
constexpr int32_t kHintInterval = 50;
constexpr int32_t kNeighbourInterval = 100;
constexpr int32_t kFetchSpeed = 6;

/// Counts a running cheat for its lifetime, so that the board and the window
/// leave the puzzle alone meanwhile.
class CheatScope {
public:
    explicit CheatScope(int32_t& depth) : m_depth(depth) { ++m_depth; }
    ~CheatScope() { --m_depth; }
    CheatScope(const CheatScope&) = delete;
    CheatScope& operator=(const CheatScope&) = delete;

private:
    int32_t& m_depth;
};

/// Switches the shadows on for a flash sequence and restores the option
/// afterwards, also when the sequence fails.
class ShadowsScope {
public:
    explicit ShadowsScope(bool& shadows) : m_shadows(shadows), m_before(shadows) { m_shadows = true; }
    ~ShadowsScope() { m_shadows = m_before; }
    ShadowsScope(const ShadowsScope&) = delete;
    ShadowsScope& operator=(const ShadowsScope&) = delete;

private:
    bool& m_shadows;
    bool m_before;
};

void lowerSolvedCount(TGameState& state) {
    if (state.SolvedCount > 0) {
        --state.SolvedCount;
    }
}

} // namespace

void TJigsaw::UnlockPiece() {
    abandonBoardInput();
    TFormPiece* p = ClickedPiece;
    if (p == nullptr) {
        return;
    }
    if (p->Joined) {
        lowerSolvedCount(State);
    }
    const int32_t oldGroup = p->GroupId;
    p->Joined = false;
    p->Settled = false;
    p->Placed = false;
    p->GroupId = State.NextGroupId++;

    TFormPiece* lastLeft = nullptr;
    int32_t left = 0;
    for (TFormPiece* q : Pieces) {
        if (q != p && q->GroupId == oldGroup) {
            lastLeft = q;
            ++left;
        }
    }
    for (const NeighbourSlot& slot : ComputeNeighbourSlots(p->Index)) {
        if (slot.Neighbour != nullptr) {
            slot.Neighbour->Settled = false;
        }
    }
    if (left == 1 && lastLeft->Joined) {
        // A group of one is no group: its last piece is loose again.
        lastLeft->Joined = false;
        lastLeft->Placed = false;
        lowerSolvedCount(State);
    }
    TBox& tray = TrayByNumber(p->TrayIndex);
    tray.SortPieces(0);
    RecordPositions(tray);
    Rect r = p->boardRect();
    r.Bottom += Config.isWood() ? WoodThickness : 0;
    RefreshBoardRect(r);
}

void TJigsaw::SendGroupToBack() {
    abandonBoardInput();
    TFormPiece* p = ClickedPiece;
    if (p == nullptr) {
        return;
    }
    const int32_t group = p->GroupId;
    Rect r;
    for (TFormPiece* q : Pieces) {
        if (q->GroupId == group) {
            q->GroupId = 0;
            r = boundingBox(r, q->boardRect());
        } else {
            ++q->GroupId;
        }
    }
    ++State.NextGroupId;
    SortAllPieces(0);
    r.Bottom += Config.isWood() ? WoodThickness : 0;
    RefreshBoardRect(r);
}

void TJigsaw::CountCheat() {
    // At its largest value the count stays there: wrapping to 0 would report
    // a game full of cheats as won without cheating.
    if (State.CheatCount < std::numeric_limits<uint16_t>::max()) {
        ++State.CheatCount;
    }
}

void TJigsaw::openTrayOf(const TFormPiece& p) {
    TBox& tray = TrayByNumber(p.TrayIndex);
    if (!tray.isMainArea() && !tray.Open) {
        ToggleOpen(tray);
    }
}

void TJigsaw::flashPiece(TFormPiece& p, int32_t intervalMs) {
    Host& h = host();
    LiftSingle(p);
    const Rect lifted = intersection(MoveRect, BackBuffer.bounds());
    h.presentNow(lifted);
    h.waitUntilMs(h.nowMs() + intervalMs);
    PutBack();
    h.presentNow(lifted);
    h.waitUntilMs(h.nowMs() + intervalMs);
}

TFormPiece* TJigsaw::firstNeighbourInOtherGroup(TFormPiece& p) {
    for (const NeighbourSlot& slot : ComputeNeighbourSlots(p.Index)) {
        if (slot.Neighbour != nullptr && slot.Neighbour->GroupId != p.GroupId) {
            return slot.Neighbour;
        }
    }
    return nullptr;
}

void TJigsaw::FlashHint() {
    if (IsBusy() || State.SolvedCount >= State.PieceCount) {
        return;
    }
    CountCheat();
    abandonBoardInput();
    const RunInfo run = LargestRun();
    if (run.Length == 0) {
        return;
    }
    const PieceList& list = mainArea().Pieces;
    int32_t k = int32_t(Rng.Random(uint32_t(run.Unsettled))) + 1;
    TFormPiece* p = nullptr;
    for (int32_t i = run.Start; i < run.Start + run.Length; ++i) {
        p = list[std::size_t(i)];
        // Refreshes the piece's Settled flag.
        ComputeNeighbourSlots(p->Index);
        if (!p->Settled) {
            --k;
        }
        if (k < 1) {
            break;
        }
    }
    TFormPiece* q = firstNeighbourInOtherGroup(*p);
    if (q == nullptr) {
        return;
    }
    CheatScope running(m_cheatDepth);
    ShadowsScope shadows(Config.ShadowsOn);
    openTrayOf(*q);
    for (int32_t n = 0; n < kFlashes; ++n) {
        flashPiece(*p, kHintInterval);
        flashPiece(*q, kHintInterval);
    }
}

void TJigsaw::ShowNeighbour() {
    if (IsBusy()) {
        return;
    }
    CountCheat();
    abandonBoardInput();
    if (NeighbourPiece == nullptr) {
        return;
    }
    CheatScope running(m_cheatDepth);
    ShadowsScope shadows(Config.ShadowsOn);
    openTrayOf(*NeighbourPiece);
    for (int32_t n = 0; n < kFlashes; ++n) {
        flashPiece(*NeighbourPiece, kNeighbourInterval);
    }
}

bool TJigsaw::BringNeighbour(TFormPiece& p, TFormPiece& q, bool fast, int32_t speed) {
    const int32_t turns = (int32_t(p.Rotation & 3) - int32_t(q.Rotation & 3) + 4) % 4;
    if (turns != 0) {
        RotateGroup(q, turns, false);
    }
    LiftGroup(&q);
    if (!IsLifted()) {
        return false;
    }
    host().presentNow(intersection(MoveRect, BackBuffer.bounds()));
    // The pieces keep their places until the drop: the sprite moves by as
    // much as q is away from its place against p.
    const Point fit = q.positionNextTo(p);
    const Point from = SpritePos();
    return Glide(from.X, from.Y, from.X + fit.X - q.Left, from.Y + fit.Y - q.Top, speed, fast);
}

void TJigsaw::FetchNeighbour() {
    if (IsBusy()) {
        return;
    }
    CountCheat();
    abandonBoardInput();
    TFormPiece* p = ClickedPiece;
    TFormPiece* q = NeighbourPiece;
    if (p == nullptr || q == nullptr) {
        return;
    }
    CheatScope running(m_cheatDepth);
    BringNeighbour(*p, *q, false, kFetchSpeed);
    DropPieces(&currentTray(), true);
}

void TJigsaw::RightWayUpPiece() {
    if (IsBusy()) {
        return;
    }
    CountCheat();
    abandonBoardInput();
    if (ClickedPiece != nullptr) {
        RotateGroup(*ClickedPiece, (4 - (ClickedPiece->Rotation & 3)) % 4, true);
    }
}

void TJigsaw::RightWayUpAll() {
    if (IsBusy()) {
        return;
    }
    CountCheat();
    TurnAllUpright();
}

TFormPiece* TJigsaw::pieceToSolveFrom() {
    const PieceList& list = mainArea().Pieces;
    if (list.empty()) {
        return pieceAt(0);
    }
    const RunInfo run = LargestRun();
    int32_t k = int32_t(Rng.Random(uint32_t(run.Unsettled))) + 1;
    TFormPiece* p = nullptr;
    // The walk ends with the run, also when the flags count fewer pieces.
    for (int32_t i = run.Start; i < run.Start + run.Length; ++i) {
        p = list[std::size_t(i)];
        if (!p->Settled) {
            --k;
        }
        if (k <= 0) {
            break;
        }
    }
    return p;
}

bool TJigsaw::largestGroupCanGrow() {
    const RunInfo run = LargestRun();
    const PieceList& list = mainArea().Pieces;
    bool canGrow = false;
    for (int32_t i = run.Start; i < run.Start + run.Length; ++i) {
        // Refreshes every Settled flag of the run, so the next pick is sound.
        ComputeNeighbourSlots(list[std::size_t(i)]->Index);
        canGrow = canGrow || !list[std::size_t(i)]->Settled;
    }
    return canGrow;
}

void TJigsaw::centreFirstGroup(TFormPiece& p) {
    host().processEvents();
    if ((p.Rotation & 3) != 0) {
        RotateGroup(p, (4 - (p.Rotation & 3)) % 4, false);
    }
    const TBox& area = mainArea();
    Rect target = Rect::fromSize(area.Width / 2 + p.HomeX - State.ScaledWidth / 2,
                                 area.Height / 2 + p.HomeY - State.ScaledHeight / 2, State.PieceWidth,
                                 State.PieceHeight);
    keepVisible(target, area.ClientRect(), State.PieceWidth / 2, State.PieceHeight / 2);
    if (target.Left != p.Left || target.Top != p.Top || p.TrayIndex != area.Number) {
        LiftGroup(&p);
        const Point from = SpritePos();
        Glide(from.X, from.Y, from.X + target.Left - p.Left, from.Y + target.Top - p.Top, host().solveSpeed(),
              true);
        DropPieces(&mainArea(), false);
    }
    host().processEvents();
}

void TJigsaw::AutoSolve() {
    if (!IsPlaying() || IsBusy() || pieceCount() == 0 || State.SolvedCount >= State.PieceCount) {
        return;
    }
    abandonBoardInput();
    CountCheat();
    State.AutoSolved = 1;
    AutoSolving = true;
    int32_t shownPercent = -1;
    int32_t failedJoins = 0;
    bool first = true;
    while (AutoSolving && State.SolvedCount < State.PieceCount) {
        const int32_t percent = State.PieceCount > 0 ? State.SolvedCount * 100 / State.PieceCount : 100;
        if (percent != shownPercent) {
            shownPercent = percent;
            host().solveProgress(percent);
        }
        TFormPiece* p = pieceToSolveFrom();
        if (p == nullptr) {
            break;
        }
        if (first) {
            first = false;
            centreFirstGroup(*p);
        }
        if (!host().isLeftButtonDown()) {
            if (TFormPiece* q = firstNeighbourInOtherGroup(*p)) {
                const uint16_t before = State.SolvedCount;
                const bool arrived = BringNeighbour(*p, *q, true, host().solveSpeed());
                DropPieces(&mainArea(), true);
                // A group that arrived and still did not join will not join
                // next time either; one that was stopped by a click may.
                failedJoins = State.SolvedCount != before || !arrived ? 0 : failedJoins + 1;
            } else if (!largestGroupCanGrow()) {
                // A count that disagrees with the groups (or a single piece)
                // would otherwise keep the loop going for ever.
                break;
            }
            if (failedJoins > int32_t(State.PieceCount) + 1) {
                break;
            }
        }
        host().processEvents();
        MinimiseEmptyTrays();
    }
    AutoSolving = false;
}

} // namespace zg
