// The main window's side of the saved game: the options a resume brings back,
// saving at exit and the recovery copy written while playing.

#include "app/TMainForm.h"
#include "files/SavedGame.h"
#include "game/TJigsaw.h"
#include "ui/SoundPlayer.h"

#include <QAction>
#include <QToolButton>

#include <set>

namespace zg {

namespace {

/// Seconds of changed play after which the recovery copy is written again.
constexpr int kRecoveryInterval = 60;
/// Where ElapsedSeconds lies in the file image: the clock alone is no change.
constexpr std::size_t kElapsedOffset = 4315;

std::size_t groupCount(const TJigsaw& jig) {
    std::set<int32_t> ids;
    for (const TFormPiece* p : jig.Pieces) {
        ids.insert(p->GroupId);
    }
    return ids.size();
}

std::vector<uint8_t> boardImage(const TJigsaw& jig) {
    std::vector<uint8_t> bytes = encodeSavedGame(jig.makeSavedGame());
    std::fill_n(bytes.begin() + kElapsedOffset, 4, uint8_t(0));
    return bytes;
}

} // namespace

bool TMainForm::musicOn() const {
    return m_actions.Music->isChecked();
}

std::optional<Color> TMainForm::boardColorChoice() const {
    return m_boardColor;
}

void TMainForm::restoreBoardColor(Color colour) {
    setBoardColor(colour);
}

void TMainForm::restoreOptions(const TJigConfig& config, bool music) {
    Actions& a = m_actions;
    a.Shadows->setChecked(config.ShadowsOn);
    a.Rotation->setChecked(config.RotationOn);
    m_popups.RotateRight->setEnabled(config.RotationOn);
    m_popups.RotateLeft->setEnabled(config.RotationOn);
    a.AllowCheating->setChecked(config.CheatingOn);
    a.Sound->setChecked(config.SoundOn);
    speedButton("SpeedSound")->setChecked(config.SoundOn);
    if (m_sounds) {
        m_sounds->setSoundOn(config.SoundOn);
    }
    // Music stays off for a gift without music, whatever the game had.
    const bool musicChecked = music && !m_musicFileName.isEmpty();
    a.Music->setChecked(musicChecked);
    speedButton("SpeedMusic")->setChecked(musicChecked);
    const int outline = std::clamp(int(config.OutlineStyle), 0, 3);
    a.OutlineItems[outline]->setChecked(true);
    a.Outlines->setData(outline);
}

bool TMainForm::saveAtExit() {
    m_jigsaw->abandonBoardInput();
    if (m_jigsaw->SaveGame()) {
        return true;
    }
    if (!m_saveFailureShown) {
        m_saveFailureShown = true;
        showMessage(
            "The game could not be saved: neither the gift's folder nor your data folder can be written.",
            MessageKind::Warning);
    }
    return false;
}

void TMainForm::resetRecoveryClock() {
    m_recoveryImage = boardImage(*m_jigsaw);
    m_recoveryGroups = groupCount(*m_jigsaw);
    m_recoveryTicks = 0;
    m_recoveryDirty = false;
}

void TMainForm::recoveryTick() {
    if (!m_jigsaw->IsPlaying() || m_jigsaw->IsLifted() || m_jigsaw->pieceCount() == 0) {
        return;
    }
    ++m_recoveryTicks;
    std::vector<uint8_t> image = boardImage(*m_jigsaw);
    const std::size_t groups = groupCount(*m_jigsaw);
    const bool joined = groups < m_recoveryGroups;
    m_recoveryDirty = m_recoveryDirty || image != m_recoveryImage;
    if (!joined && !(m_recoveryDirty && m_recoveryTicks >= kRecoveryInterval)) {
        return;
    }
    // A failed write is tried again after the next interval, not every tick.
    m_recoveryGroups = groups;
    m_recoveryTicks = 0;
    if (m_jigsaw->SaveRecovery()) {
        m_recoveryImage = std::move(image);
        m_recoveryDirty = false;
    }
}

} // namespace zg
