#include "board/TBoxes.h"

#include "board/TMural.h"
#include "files/PackedIo.h"
#include "files/TrayRecord.h"
#include "gfx/KeepVisible.h"
#include "host/Host.h"

#include <algorithm>
#include <limits>

namespace zg {

namespace {

// Stamps beyond this are handed out again from 1 in stacking order, so that
// taking stamps never overflows.
constexpr int32_t kStampLimit = std::numeric_limits<int32_t>::max() / 2;

int16_t toInt16(int32_t v) {
    return int16_t(
        std::clamp<int32_t>(v, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

} // namespace

TBoxes::TBoxes(Host& host) : TPieces(host) {
    Trays.push_back(std::make_unique<TBox>(0, m_shared));
}

TBoxes::~TBoxes() = default;

void TBoxes::CreateTrays(int32_t boardWidth, int32_t boardHeight) {
    m_shared.BoardWidth = boardWidth;
    m_shared.BoardHeight = boardHeight;
    // The main board area object itself stays, so references to it (the
    // game's current tray) remain valid; it takes the state of a new one.
    Trays.resize(1);
    const TBox fresh(0, m_shared);
    TBox& board = mainArea();
    board.Left = fresh.Left;
    board.Top = fresh.Top;
    board.SetSize(fresh.Width, fresh.Height);
    board.StackStamp = fresh.StackStamp;
    board.Color = fresh.Color;
    board.Open = true;
    board.Hidden = false;
    board.Pressed = false;
    board.Description.clear();
    board.Pieces.clear();
    board.AddPieces(Pieces);
}

void TBoxes::FreeTrays() {
    Trays.resize(1);
    mainArea().Pieces.clear();
    freeRecords();
}

void TBoxes::recordBoardSize(int32_t boardWidth, int32_t boardHeight) {
    m_shared.BoardWidth = boardWidth;
    m_shared.BoardHeight = boardHeight;
    mainArea().SetSize(boardWidth, boardHeight);
}

TBox& TBoxes::addTray(int32_t number) {
    Trays.push_back(std::make_unique<TBox>(number, m_shared));
    return *Trays.back();
}

TBox& TBoxes::TrayAt(int32_t x, int32_t y) {
    for (std::size_t i = Trays.size(); i-- > 1;) {
        TBox& tray = *Trays[i];
        if (tray.Open && tray.OuterRect().contains(x, y)) {
            return tray;
        }
    }
    return mainArea();
}

TBox* TBoxes::findTray(int32_t n) {
    for (const auto& tray : Trays) {
        if (tray->Number == n) {
            return tray.get();
        }
    }
    return nullptr;
}

TBox& TBoxes::TrayByNumber(int32_t n) {
    TBox* tray = findTray(n);
    return tray != nullptr ? *tray : mainArea();
}

void TBoxes::DrawTray(const TBox& tray, Bitmap24& target, const Rect* clip) {
    if (!tray.Open) {
        return;
    }
    if (tray.isMainArea()) {
        drawPieces(tray.Pieces, target, clip);
        return;
    }
    const Rect whole = clip != nullptr ? *clip : target.bounds();
    tray.Draw(target, whole, host());
    if (tray.Hidden) {
        return;
    }
    const Rect inside = intersection(tray.ClientRect(), whole);
    if (!inside.isEmpty()) {
        drawPieces(tray.Pieces, target, &inside);
    }
}

void TBoxes::DrawTrays(Bitmap24& target, const Rect* clip) {
    for (const auto& tray : Trays) {
        DrawTray(*tray, target, clip);
    }
}

void TBoxes::DrawBoard(const TMural& mural, const Rect& r) {
    const Rect area = intersection(r, BackBuffer.bounds());
    if (area.isEmpty()) {
        return;
    }
    mural.CopyTo(area, BackBuffer);
    DrawTrays(BackBuffer, &area);
}

void TBoxes::SortTrays(bool byNumber) {
    // The main board area (number 0, stamp 0) always stays first.
    std::stable_sort(Trays.begin() + 1, Trays.end(), [byNumber](const auto& a, const auto& b) {
        return byNumber ? a->Number < b->Number : a->StackStamp < b->StackStamp;
    });
}

void TBoxes::SortAllPieces(int32_t mode) {
    SortTrays(false);
    for (const auto& tray : Trays) {
        tray->SortPieces(mode);
    }
}

void TBoxes::TransferPieces(const PieceList& list, TBox& dest) {
    if (list.empty()) {
        return;
    }
    const bool destWasEmpty = dest.Pieces.empty();
    // Normally every listed piece comes from one tray; each is still taken
    // from the tray its own TrayIndex names, so no piece ends up in two lists.
    PieceList moving;
    moving.reserve(list.size());
    std::vector<TBox*> sources;
    for (TFormPiece* p : list) {
        TBox& source = TrayByNumber(p->TrayIndex);
        if (&source == &dest && p->TrayIndex == dest.Number) {
            continue;
        }
        if (std::find(sources.begin(), sources.end(), &source) == sources.end()) {
            sources.push_back(&source);
        }
        moving.push_back(p);
    }
    if (moving.empty()) {
        return;
    }
    PieceList sorted = moving;
    std::sort(sorted.begin(), sorted.end());
    for (TBox* source : sources) {
        const bool wasEmpty = source->Pieces.empty();
        std::erase_if(source->Pieces, [&sorted](TFormPiece* p) {
            return std::binary_search(sorted.begin(), sorted.end(), p);
        });
        if (source != &dest && !wasEmpty && source->Pieces.empty() && !source->isMainArea()) {
            host().trayGlyphChanged(source->Number, false);
        }
    }
    dest.AddPieces(moving);
    if (destWasEmpty && !dest.isMainArea()) {
        host().trayGlyphChanged(dest.Number, true);
    }
}

void TBoxes::HideTray(TBox& tray, bool flag) {
    tray.Hidden = flag;
    setHidden(tray.Pieces, flag);
}

void TBoxes::MoveTray(TBox& tray, int32_t dx, int32_t dy) {
    tray.Left += dx;
    tray.Top += dy;
    offsetPieces(tray.Pieces, dx, dy);
    RecordPositions(tray);
}

bool TBoxes::canRelate(const Rect& area) const {
    return !area.isEmpty() && State.PictureWidth > 0 && State.PictureHeight > 0;
}

void TBoxes::RecordPositions(TBox& tray) {
    const Rect area = tray.ClientRect();
    if (!canRelate(area)) {
        return;
    }
    const TFormPiece* previous = nullptr;
    for (TFormPiece* p : tray.Pieces) {
        if (previous == nullptr || p->GroupId != previous->GroupId) {
            p->storePosition(area, State.PictureWidth, State.PictureHeight);
        }
        previous = p;
    }
}

void TBoxes::pushGroupsBack(const PieceList& list, const Rect& area, bool place) {
    const int32_t hw = State.PieceWidth / 2;
    const int32_t hh = State.PieceHeight / 2;
    const Rect inner{area.Left + hw, area.Top + hh, area.Right - hw, area.Bottom - hh};
    const bool relate = place && canRelate(area);
    std::size_t start = 0;
    while (start < list.size()) {
        TFormPiece* leader = list[start];
        std::size_t end = start + 1;
        while (end < list.size() && list[end]->GroupId == leader->GroupId) {
            ++end;
        }
        if (relate) {
            leader->restorePosition(area, State.PictureWidth, State.PictureHeight);
        }
        bool inside = false;
        Rect box;
        for (std::size_t i = start; i < end; ++i) {
            TFormPiece* p = list[i];
            if (i != start) {
                p->moveNextTo(*leader);
            }
            inside = inside || p->boardRect().intersects(inner);
            box = boundingBox(box, p->boardRect());
        }
        if (!inside) {
            const Rect before = box;
            keepVisible(box, area, hw, hh);
            for (std::size_t i = start; i < end; ++i) {
                list[i]->offset(box.Left - before.Left, box.Top - before.Top);
            }
        }
        start = end;
    }
}

void TBoxes::RefitTray(TBox& tray) {
    if (tray.isMainArea()) {
        return;
    }
    pushGroupsBack(tray.Pieces, tray.ClientRect(), false);
}

void TBoxes::KeepTrayVisible(Rect& r, const Rect& bounds) {
    constexpr int32_t kKeep = 32;
    if (r.Right < bounds.Left + kKeep) {
        r = r.offset(bounds.Left + kKeep - r.Right, 0);
    }
    if (r.Left > bounds.Right - kKeep) {
        r = r.offset(bounds.Right - kKeep - r.Left, 0);
    }
    if (r.Top < bounds.Top) {
        r = r.offset(0, bounds.Top - r.Top);
    }
    if (r.Top > bounds.Bottom - kKeep) {
        r = r.offset(0, bounds.Bottom - kKeep - r.Top);
    }
}

void TBoxes::FitTraysToBoard(int32_t boardWidth, int32_t boardHeight) {
    const Rect bounds{0, 0, boardWidth, boardHeight};
    for (std::size_t i = 1; i < Trays.size(); ++i) {
        TBox& tray = *Trays[i];
        Rect r = tray.OuterRect();
        KeepTrayVisible(r, bounds);
        MoveTray(tray, r.Left - tray.Left, r.Top - tray.Top);
        tray.SetBounds(r);
        RefitTray(tray);
    }
    pushGroupsBack(mainArea().Pieces, mainArea().ClientRect(), true);
}

void TBoxes::MinimiseEmptyTrays() {
    for (std::size_t i = 1; i < Trays.size(); ++i) {
        TBox& tray = *Trays[i];
        if (tray.Open && tray.Pieces.empty()) {
            ToggleOpen(tray);
        }
    }
}

void TBoxes::ToggleOpen(TBox& tray) {
    if (tray.isMainArea()) {
        return;
    }
    tray.Open = !tray.Open;
    host().trayOpenChanged(tray.Number, tray.Open);
    if (tray.Open) {
        tray.TakeStamp();
        SortTrays(false);
    }
    RefreshBoardRect(tray.OuterRect());
    host().playSound(4);
    if (tray.Open) {
        ZoomTray(tray.ButtonRect(), tray.OuterRect());
        host().processEvents();
    } else {
        host().processEvents();
        ZoomTray(tray.OuterRect(), tray.ButtonRect());
    }
}

void TBoxes::ResizeTray(TBox& tray, const Rect& r) {
    if (tray.isMainArea()) {
        return;
    }
    Rect outline{std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
                 std::max(r.Top, r.Bottom)};
    outline.Right = std::max(outline.Right, outline.Left + TBox::kMinWidth);
    outline.Bottom = std::max(outline.Bottom, outline.Top + TBox::kMinHeight);
    const Rect before = tray.OuterRect();
    tray.SetSize(outline.width(), outline.height());
    RefitTray(tray);
    MoveTray(tray, outline.Left - tray.Left, outline.Top - tray.Top);
    RefreshBoardRect(boundingBox(before, tray.OuterRect()));
}

void TBoxes::RefreshBoardRect(const Rect& r) {
    host().invalidate(r);
}

void TBoxes::ZoomTray(const Rect&, const Rect&) {}

TrayBarLayout TBoxes::LayoutTrayBar(bool relayout, const TrayBarMetrics& bar) {
    TrayBarLayout out;
    out.LeftButton = bar.LeftButton;
    out.RightButton = bar.RightButton;
    out.UpButton = bar.UpButton;
    out.DownButton = bar.DownButton;
    const Rect& tmpl = bar.TemplateButton;
    int32_t pitch = 0;
    if (bar.Vertical) {
        out.ShowUpDown = true;
        const int32_t upHeight = bar.UpButton.height();
        const int32_t upTop = bar.LeftButton.Top;
        out.UpButton = Rect::fromSize(bar.UpButton.Left, upTop, bar.UpButton.width(), upHeight);
        out.DownButton = Rect::fromSize(bar.DownButton.Left, bar.BarHeight - upHeight - upTop,
                                        bar.DownButton.width(), bar.DownButton.height());
        pitch = std::max(1, tmpl.height() + 6);
        if (relayout) {
            TrayBarCapacity = std::max(0, (bar.BarHeight - 2 * tmpl.Top) / pitch);
        }
    } else {
        out.ShowLeftRight = true;
        out.RightButton =
            Rect::fromSize(bar.BarWidth - bar.RightButton.width() - bar.LeftButton.Left, bar.RightButton.Top,
                           bar.RightButton.width(), bar.RightButton.height());
        pitch = std::max(1, tmpl.width() + 6);
        if (relayout) {
            TrayBarCapacity = std::max(0, (bar.BarWidth - 2 * tmpl.Left) / pitch);
        }
    }
    if (!relayout) {
        return out;
    }
    out.Relayout = true;
    std::vector<const TBox*> byNumber;
    for (std::size_t i = 1; i < Trays.size(); ++i) {
        byNumber.push_back(Trays[i].get());
    }
    std::stable_sort(byNumber.begin(), byNumber.end(),
                     [](const TBox* a, const TBox* b) { return a->Number < b->Number; });
    const int32_t u = int32_t(byNumber.size());
    const bool overflow = u > TrayBarCapacity;
    if (!overflow) {
        FirstVisibleTray = 1;
    } else {
        // A first position from a saved game that would hide every button, or
        // scroll past the last page, is brought back into range.
        const int32_t last = std::max(1, u - TrayBarCapacity + 1);
        FirstVisibleTray = uint16_t(std::clamp<int32_t>(FirstVisibleTray, 1, last));
    }
    const int32_t first = FirstVisibleTray;
    for (int32_t i = 1; i <= u; ++i) {
        const TBox& tray = *byNumber[std::size_t(i - 1)];
        TrayBarButton button;
        button.Number = tray.Number;
        button.Visible = i >= first && i < first + TrayBarCapacity;
        if (button.Visible) {
            const int32_t offset = pitch * (i - first);
            button.Bounds = bar.Vertical
                                ? Rect::fromSize(tmpl.Left, offset + tmpl.Top, tmpl.width(), tmpl.height())
                                : Rect::fromSize(offset + tmpl.Left, tmpl.Top, tmpl.width(), tmpl.height());
        }
        button.Down = tray.Open;
        button.Full = !tray.Pieces.empty();
        button.Hint = tray.Description + "|";
        out.Buttons.push_back(std::move(button));
    }
    out.LeftEnabled = overflow && first > 1;
    out.RightEnabled = overflow && u - TrayBarCapacity >= first;
    out.UpEnabled = out.LeftEnabled;
    out.DownEnabled = out.RightEnabled;
    return out;
}

void TBoxes::StoreTrayState(TGameExtra& extra) const {
    extra.SavedTrayCount = uint16_t(std::min<std::size_t>(Trays.size(), 0xFFFF));
    extra.FirstVisibleTray = FirstVisibleTray;
    extra.NextStackStamp = m_shared.NextStackStamp;
}

std::vector<TrayRecord> TBoxes::userTrayRecords() const {
    const std::size_t count = std::min<std::size_t>(Trays.size(), 0xFFFF);
    std::vector<TrayRecord> records;
    records.reserve(count > 0 ? count - 1 : 0);
    for (std::size_t i = 1; i < count; ++i) {
        const TBox& tray = *Trays[i];
        TrayRecord record;
        record.Number = toInt16(tray.Number);
        record.Left = toInt16(tray.Left);
        record.Top = toInt16(tray.Top);
        record.Width = tray.Width;
        record.Height = tray.Height;
        record.StackStamp = tray.StackStamp;
        record.TrayColor = tray.Color;
        record.Open = tray.Open;
        record.Description = tray.Description;
        records.push_back(std::move(record));
    }
    return records;
}

void TBoxes::SaveTrays(PackedWriter& out) const {
    for (const TrayRecord& record : userTrayRecords()) {
        record.write(out);
    }
}

void TBoxes::LoadTrays(PackedReader& in, const TGameExtra& extra) {
    // Read every record first, so that data ending early changes nothing.
    std::vector<TrayRecord> records;
    if (extra.SavedTrayCount >= 2) {
        records.reserve(std::min<std::size_t>(extra.SavedTrayCount - 1u, in.remaining() / TrayRecord::kSize));
        for (int32_t i = 1; i < extra.SavedTrayCount; ++i) {
            records.push_back(TrayRecord::read(in));
        }
    }
    LoadTrays(records, extra);
}

void TBoxes::LoadTrays(const std::vector<TrayRecord>& records, const TGameExtra& extra) {
    Trays.resize(1);
    FirstVisibleTray = extra.FirstVisibleTray;
    for (const TrayRecord& record : records) {
        if (record.Number <= 0 || findTray(record.Number) != nullptr) {
            continue;
        }
        TBox& tray = addTray(record.Number);
        tray.Left = record.Left;
        tray.Top = record.Top;
        tray.SetSize(std::max<int32_t>(record.Width, TBox::kMinWidth),
                     std::max<int32_t>(record.Height, TBox::kMinHeight));
        tray.StackStamp = record.StackStamp;
        tray.Color = record.TrayColor;
        tray.Open = record.Open;
        tray.Description = record.Description;
    }

    // The stamps the new trays took are all overwritten; the count goes on
    // from the saved one.
    m_shared.NextStackStamp = extra.NextStackStamp;

    // Share the pieces out by TrayIndex; one naming no tray goes to the board.
    TBox& board = mainArea();
    board.Pieces.clear();
    for (TFormPiece* p : Pieces) {
        TBox* tray = p->TrayIndex != 0 ? findTray(p->TrayIndex) : nullptr;
        if (tray == nullptr) {
            board.Pieces.push_back(p);
            p->TrayIndex = 0;
            continue;
        }
        tray->Pieces.push_back(p);
        const Rect client = tray->ClientRect();
        if (canRelate(client)) {
            p->restorePosition(client, State.PictureWidth, State.PictureHeight);
        }
    }
    normaliseStamps();
    SortAllPieces();
}

void TBoxes::normaliseStamps() {
    int64_t highest = 0;
    bool renumber = m_shared.NextStackStamp < 1 || m_shared.NextStackStamp > kStampLimit;
    for (std::size_t i = 1; i < Trays.size(); ++i) {
        const int32_t s = Trays[i]->StackStamp;
        renumber = renumber || s < 1 || s > kStampLimit;
        highest = std::max<int64_t>(highest, s);
    }
    if (!renumber) {
        // Every stamp handed out from now on must lie above the loaded ones.
        m_shared.NextStackStamp = int32_t(std::max<int64_t>(m_shared.NextStackStamp, highest + 1));
        return;
    }
    // Stamps out of range: hand out 1, 2, ... in the stacking order they gave.
    SortTrays(false);
    int32_t next = 1;
    for (std::size_t i = 1; i < Trays.size(); ++i) {
        Trays[i]->StackStamp = next++;
    }
    m_shared.NextStackStamp = next;
}

} // namespace zg
