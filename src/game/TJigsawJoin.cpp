// Snapping dropped pieces to their grid neighbours, merging groups, counting
// joined pieces and recognising the finished picture.

#include "files/InfoTexts.h"
#include "game/TJigsaw.h"
#include "host/Host.h"

namespace zg {

namespace {

/// Used when the settings hold no usable divisor, so the tolerance never
/// divides by zero.
constexpr int32_t kDefaultSnapDivisor = 4;

/// Rotation is an 8-bit field; only its quarter turns modulo 4 mean anything,
/// so pieces are compared (and fitted, see TFormPiece::positionNextTo) by that.
uint8_t quarterTurns(const TFormPiece& p) {
    return uint8_t(p.Rotation & 3);
}

void growBy(Rect& dirty, const Rect& r) {
    dirty = boundingBox(dirty, r);
}

} // namespace

TJigsaw::NeighbourSlots TJigsaw::ComputeNeighbourSlots(int32_t index) {
    NeighbourSlots slots{};
    TFormPiece* p = pieceAt(index);
    if (p == nullptr) {
        return slots;
    }
    const int32_t cols = State.Cols;
    const int32_t count = State.PieceCount;
    if (cols > 0 && index < count) {
        const int32_t up = index >= cols ? index - cols : -1;
        const int32_t right = index % cols + 1 != cols ? index + 1 : -1;
        const int32_t down = index <= count - cols - 1 ? index + cols : -1;
        const int32_t left = index % cols != 0 ? index - 1 : -1;
        const std::array<int32_t, 4> neighbours{up, right, down, left};
        for (std::size_t k = 0; k < slots.size(); ++k) {
            if (neighbours[k] >= 0 && neighbours[k] < count) {
                slots[k].Neighbour = pieceAt(neighbours[k]);
            }
        }
    }

    const int32_t divisor = Config.SnapDivisor > 0 ? Config.SnapDivisor : kDefaultSnapDivisor;
    // The piece height sets the tolerance on both axes.
    const int32_t t = State.PieceHeight / divisor;
    p->Settled = true;
    for (NeighbourSlot& slot : slots) {
        if (slot.Neighbour == nullptr) {
            continue;
        }
        const Point fit = p->positionNextTo(*slot.Neighbour);
        slot.SnapRect = {fit.X - t, fit.Y - t, fit.X + t, fit.Y + t};
        if (slot.Neighbour->GroupId != p->GroupId) {
            p->Settled = false;
        }
    }
    return slots;
}

void TJigsaw::SnapDropped(const PieceList& list, Rect& dirty) {
    for (TFormPiece* p : list) {
        if (p == nullptr) {
            continue;
        }
        p->Placed = true;
        const int32_t group = p->GroupId;
        const uint8_t turns = quarterTurns(*p);
        const int32_t tray = p->TrayIndex;
        const Point at{p->Left, p->Top};

        const NeighbourSlots slots = ComputeNeighbourSlots(p->Index);
        std::array<TFormPiece*, 4> candidates{};
        std::size_t found = 0;
        for (const NeighbourSlot& slot : slots) {
            TFormPiece* q = slot.Neighbour;
            if (q == nullptr || q == p || q->GroupId == group || q->GroupId == p->GroupId ||
                q->TrayIndex != tray || quarterTurns(*q) != turns || !slot.SnapRect.contains(at)) {
                continue;
            }
            if (AutoSolving) {
                JoinPieces(*p, *q, dirty);
                found = 0;
                break;
            }
            candidates[found++] = q;
        }
        if (found == 0) {
            continue;
        }
        if (found == 1) {
            // One neighbour fits: no order to settle, so no group is counted.
            JoinPieces(*p, *candidates[0], dirty);
            continue;
        }

        // Smaller groups first; the earlier slot wins a tie. Sizes are taken
        // before any join, so one join does not reorder the rest; one pass
        // over the pieces counts them all.
        std::array<int32_t, 4> sizes{};
        for (const TFormPiece* r : Pieces) {
            for (std::size_t i = 0; i < found; ++i) {
                if (r->GroupId == candidates[i]->GroupId) {
                    ++sizes[i];
                }
            }
        }
        std::array<bool, 4> used{};
        for (std::size_t round = 0; round < found; ++round) {
            std::size_t best = found;
            for (std::size_t i = 0; i < found; ++i) {
                if (!used[i] && (best == found || sizes[i] < sizes[best])) {
                    best = i;
                }
            }
            used[best] = true;
            TFormPiece* q = candidates[best];
            // Two candidates of one group: the first join already brought the
            // second into p's group, and joining it again would only shift it.
            if (q->GroupId != p->GroupId) {
                JoinPieces(*p, *q, dirty);
            }
        }
    }
}

void TJigsaw::JoinPieces(TFormPiece& p, TFormPiece& q, Rect& dirty) {
    if (&p == &q || q.GroupId == p.GroupId) {
        return;
    }
    const Point fit = p.positionNextTo(q);
    const int32_t ox = fit.X - p.Left;
    const int32_t oy = fit.Y - p.Top;
    const int32_t a = p.GroupId;

    if (q.Joined) {
        // p's whole group moves flush onto q's group and takes its number.
        const int32_t target = q.GroupId;
        int32_t solved = 0;
        for (TFormPiece* r : Pieces) {
            if (r->GroupId == a) {
                r->Joined = true;
                r->GroupId = target;
                growBy(dirty, r->boardRect());
                r->offset(ox, oy);
                growBy(dirty, r->boardRect());
            }
            if (r->Joined) {
                ++solved;
            }
        }
        State.SolvedCount = uint16_t(solved);
    } else {
        // A loose q moves flush onto p, which stays where it was dropped.
        State.SolvedCount = uint16_t(State.SolvedCount + (p.Joined ? 1 : 2));
        q.GroupId = a;
        p.Joined = true;
        q.Joined = true;
        growBy(dirty, q.boardRect());
        q.offset(-ox, -oy);
        growBy(dirty, q.boardRect());
    }

    if (Config.isWood() && !dirty.isEmpty()) {
        dirty.Bottom += WoodThickness; // the side faces hang below the pieces
    }
    if (Config.SoundOn) {
        host().playSound(1);
    }
    if (State.SolvedCount >= State.PieceCount) {
        CompletionCandidate = true;
    }
}

int32_t TJigsaw::GroupSize(const TFormPiece& piece) const {
    int32_t size = 0;
    for (const TFormPiece* r : Pieces) {
        if (r->GroupId == piece.GroupId) {
            ++size;
        }
    }
    return size;
}

void TJigsaw::CheckCompletion() {
    if (!CompletionCandidate) {
        return;
    }
    CompletionCandidate = false;
    // Every piece joined is not enough: two groups can hold them all.
    bool solved = !Pieces.empty();
    for (const TFormPiece* r : Pieces) {
        if (r->GroupId != Pieces.front()->GroupId) {
            solved = false;
            break;
        }
    }
    State.Solved = solved ? 1 : 0;
    if (!solved) {
        return;
    }
    if (Config.SoundOn) {
        host().playSound(2);
    }
    host().showCongratulations(completionText(State));
    host().showZoomPicture();
}

} // namespace zg
