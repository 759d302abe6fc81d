#pragma once

#include "host/Host.h"

#include <chrono>
#include <thread>

namespace zg {

/// A Host for working without a window: no status line, cursor, screen,
/// input, sound or dialogs. Questions are answered No, text draws nothing and
/// measures 7 x 14 pixels a character, and the clock is the real steady clock.
/// gift-maker builds its previews with it, exactly as the player builds its
/// puzzle; benchmarks derive from it to leave out the window's costs.
class SilentHost : public Host {
public:
    void setStatusText(const std::string&) override {}
    void setCursor(CursorShape) override {}
    void presentNow(const Rect&) override {}
    void invalidate(const Rect&) override {}
    void processEvents() override {}
    bool isShiftDown() const override { return false; }
    bool isCtrlDown() const override { return false; }
    bool isLeftButtonDown() const override { return false; }
    bool isMousePressPending() const override { return false; }
    int64_t nowMs() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    void waitUntilMs(int64_t deadline) override {
        const int64_t left = deadline - nowMs();
        if (left > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(left));
        }
    }
    void showMessage(const std::string&, MessageKind) override {}
    Answer askQuestion(const std::string&, bool) override { return Answer::No; }
    void playSound(int) override {}
    void showCongratulations(const std::string&) override {}
    void showZoomPicture() override {}
    int displayDepth() const override { return 24; }
    void drawText(Bitmap24&, const Rect&, int32_t, int32_t, const std::string&, const FontSpec&,
                  Color) override {}
    Point textExtent(const std::string& text, const FontSpec&) override {
        return {int32_t(text.size()) * 7, 14};
    }
};

} // namespace zg
