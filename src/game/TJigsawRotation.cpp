// The rotating-pieces option and turning every piece the right way up.
#include "game/TJigsaw.h"

#include <vector>

namespace zg {

bool TJigsaw::RotationOption(bool on, const std::string& offQuestion) {
    if (!IsPlaying() || on == Config.RotationOn) {
        Config.RotationOn = on;
        return on;
    }
    if (on) {
        const Answer a = host().askQuestion(kRandomTurnsQuestion, true);
        if (a == Answer::Cancel) {
            return false;
        }
        Config.RotationOn = true;
        if (a == Answer::Yes) {
            abandonBoardInput();
            RandomTurns(mainArea().Pieces, true);
            SetBoardSize(BackBuffer.width(), BackBuffer.height());
            InvalidateBoardRect(BackBuffer.bounds());
        }
        return true;
    }
    bool turned = false;
    for (const TFormPiece* p : Pieces) {
        turned = turned || (p->Rotation & 3) != 0;
    }
    if (turned) {
        if (host().askQuestion(offQuestion, false) != Answer::Yes) {
            return true;
        }
        TurnAllUpright();
    }
    Config.RotationOn = false;
    return false;
}

void TJigsaw::TurnAllUpright() {
    abandonBoardInput();
    std::vector<bool> done(Pieces.size(), false);
    bool any = false;
    for (TFormPiece* p : Pieces) {
        if (done[std::size_t(p->Index)] || (p->Rotation & 3) == 0) {
            continue;
        }
        // A joined group turns as a whole around its first piece by index.
        PieceList group{p};
        if (p->Joined) {
            for (TFormPiece* q : Pieces) {
                if (q != p && q->GroupId == p->GroupId) {
                    group.push_back(q);
                }
            }
        }
        RotatePieces(group, 4 - (p->Rotation & 3), false);
        for (TFormPiece* q : group) {
            done[std::size_t(q->Index)] = true;
            if (q != p) {
                q->moveNextTo(*p);
            }
        }
        RecordPositions(TrayByNumber(p->TrayIndex));
        any = true;
    }
    if (any) {
        SetBoardSize(BackBuffer.width(), BackBuffer.height());
        InvalidateBoardRect(BackBuffer.bounds());
    }
}

} // namespace zg
