#pragma once

#include "host/Host.h"

#include <functional>
#include <string>
#include <vector>

namespace zg::test {

/// A Host that records what the core asked of it, with a manual clock.
class FakeHost : public Host {
public:
    void setStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void setCursor(CursorShape shape) override { cursors.push_back(shape); }
    void presentNow(const Rect& r) override { presented.push_back(r); }
    void invalidate(const Rect& r) override { invalidated.push_back(r); }
    void processEvents() override { ++eventPumps; }
    bool isShiftDown() const override { return shift; }
    bool isCtrlDown() const override { return ctrl; }
    bool isLeftButtonDown() const override { return leftButton; }
    bool isMousePressPending() const override { return pressPending; }
    int64_t nowMs() const override { return clock; }
    void waitUntilMs(int64_t deadline) override {
        if (deadline > clock) {
            clock = deadline;
        }
    }
    void showMessage(const std::string& text, MessageKind) override { messages.push_back(text); }
    Answer askQuestion(const std::string& text, bool) override {
        questions.push_back(text);
        return answer;
    }
    void playSound(int effect) override { sounds.push_back(effect); }
    void showCongratulations(const std::string& status) override { congratulations.push_back(status); }
    void showZoomPicture() override { ++zoomPictures; }
    void trayGlyphChanged(int32_t number, bool full) override { trayGlyphs.push_back({number, full}); }
    void trayOpenChanged(int32_t number, bool open) override { trayOpens.push_back({number, open}); }
    PopupCommand popupMenu(PopupKind kind, Point boardPoint, const PopupState& enabling) override {
        popups.push_back({kind, boardPoint, enabling});
        if (onPopup) {
            onPopup();
        }
        return popupAnswer;
    }
    void runBoardCommand(PopupCommand command) override { boardCommands.push_back(command); }
    int displayDepth() const override { return depth; }
    void drawText(Bitmap24& target, const Rect& clip, int32_t x, int32_t y, const std::string& text,
                  const FontSpec& font, Color color) override;
    Point textExtent(const std::string& text, const FontSpec& font) override;

    /// The current cursor (Default when none was set).
    CursorShape cursor() const { return cursors.empty() ? CursorShape::Default : cursors.back(); }

    std::vector<std::string> statusTexts;
    std::vector<CursorShape> cursors;
    std::vector<Rect> presented;
    std::vector<Rect> invalidated;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<std::string> texts; ///< every text drawn
    std::vector<int> sounds;
    std::vector<std::string> congratulations; ///< status text of every congratulations dialog shown
    int zoomPictures = 0;
    struct TrayFlag {
        int32_t number = 0;
        bool value = false;
        friend bool operator==(const TrayFlag&, const TrayFlag&) = default;
    };
    std::vector<TrayFlag> trayGlyphs; ///< every glyph change: tray number, full
    std::vector<TrayFlag> trayOpens;  ///< every minimise or restore: tray number, open
    struct PopupCall {
        PopupKind kind = PopupKind::Play;
        Point at;
        PopupState enabling;
    };
    std::vector<PopupCall> popups;                 ///< every popup shown
    PopupCommand popupAnswer = PopupCommand::None; ///< what every popup returns
    std::function<void()> onPopup;                 ///< runs while a popup is open
    std::vector<PopupCommand> boardCommands;       ///< window commands handed over
    int eventPumps = 0;
    bool shift = false;
    bool ctrl = false;
    bool leftButton = false;
    bool pressPending = false;
    int64_t clock = 0;
    int depth = 24;
    Answer answer = Answer::Yes;
};

} // namespace zg::test
