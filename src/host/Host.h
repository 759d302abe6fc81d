#pragma once

#include "files/TJigConfig.h"
#include "gfx/Bitmap24.h"
#include "gfx/Color.h"
#include "gfx/Rect.h"
#include "host/BoardCommands.h"
#include "host/TrayBar.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zg {

/// Cursor shapes the core asks for.
/// Grab is the program's own cursor, shown while pieces are held.
enum class CursorShape { Default, Busy, Hand, SizeNS, SizeWE, SizeNWSE, SizeNESW, SizeAll, Grab };

/// Kinds of message box.
enum class MessageKind { Information, Warning, Error };

/// Answers of question boxes.
enum class Answer { Yes, No, Cancel };

/// A font as the core describes it; the host maps the face name to a real font.
struct FontSpec {
    std::string Name = "Arial";
    int32_t Height = -11; ///< pixels; negative: character height without internal leading
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
};

/// Everything the core needs from the windowing platform. The main window
/// implements it over the toolkit; tests use a recording fake. The core never
/// talks to the toolkit any other way.
class Host {
public:
    virtual ~Host() = default;

    /// Shows `text` on the status line (empty clears it).
    virtual void setStatusText(const std::string& text) = 0;
    /// Sets the cursor over the board; Busy is shown while a long step runs.
    virtual void setCursor(CursorShape shape) = 0;

    /// Copies `r` of the back buffer to the screen now.
    virtual void presentNow(const Rect& r) = 0;
    /// Schedules `r` of the back buffer for repainting later.
    virtual void invalidate(const Rect& r) = 0;
    /// Lets pending window events run (paints, input).
    virtual void processEvents() = 0;

    virtual bool isShiftDown() const = 0;
    virtual bool isCtrlDown() const = 0;
    virtual bool isLeftButtonDown() const = 0;
    /// True when a mouse button press is waiting in the event queue.
    virtual bool isMousePressPending() const = 0;

    /// Milliseconds of a steady clock.
    virtual int64_t nowMs() const = 0;
    /// Waits until nowMs() >= deadline, letting nothing else run.
    virtual void waitUntilMs(int64_t deadline) = 0;

    virtual void showMessage(const std::string& text, MessageKind kind) = 0;
    virtual Answer askQuestion(const std::string& text, bool withCancel) = 0;

    /// Plays sound effect 1..5 if sound is on; a new effect cuts the old one.
    virtual void playSound(int effect) = 0;

    /// Shows the congratulations dialog ("You solved it!") modally with
    /// `status` as its status text; returns when it is closed.
    virtual void showCongratulations(const std::string& status) = 0;
    /// Shows the picture at 100 % full screen modally; returns when it is closed.
    virtual void showZoomPicture() = 0;

    /// The puzzle has entered the playing state: the window enables the
    /// commands that need a puzzle, shows the status panels its options ask
    /// for and applies the cheat rule. Does nothing by default.
    virtual void puzzleStarted() {}

    /// A user tray's button switches to the full-tray glyph (`full`) or the
    /// empty-tray one.
    virtual void trayGlyphChanged(int32_t number, bool full) {
        (void)number;
        (void)full;
    }
    /// A user tray was minimised (`open` false) or restored; its button's down
    /// state follows.
    virtual void trayOpenChanged(int32_t number, bool open) {
        (void)number;
        (void)open;
    }

    /// The tray bar as the window shows it now, for laying it out.
    virtual TrayBarMetrics trayBarMetrics() const { return {}; }
    /// Shows a tray bar layout: the scroll buttons and, when it was laid out
    /// again, one button per user tray. Does nothing by default.
    virtual void applyTrayBar(const TrayBarLayout& layout) { (void)layout; }

    /// Shows the board popup `kind` with its top-left at `boardPoint` (board
    /// pixels; the host maps them to the screen), its items enabled as
    /// `enabling` says, and returns the item chosen, or PopupCommand::None
    /// when the menu closed without a choice. Modal: returns when the menu has
    /// closed. By default no menu shows and nothing is chosen.
    virtual PopupCommand popupMenu(PopupKind kind, Point boardPoint, const PopupState& enabling) {
        (void)kind;
        (void)boardPoint;
        (void)enabling;
        return PopupCommand::None;
    }
    /// Carries out a popup command that belongs to the window (arranging,
    /// piece size, hint, auto-solve and the tray commands) as its menu handler
    /// would; the puzzle's CurrentTray names the tray a tray command is for.
    /// Does nothing by default.
    virtual void runBoardCommand(PopupCommand command) { (void)command; }

    /// The auto-solve speed, 1 (slowest) to 10, as the speed dialog shows it;
    /// read before every glide. 5 by default.
    virtual int32_t solveSpeed() const { return 5; }
    /// Auto-solve has reached `percent` (0..100) of the pieces solved; the
    /// speed dialog's gauge shows it. Does nothing by default.
    virtual void solveProgress(int32_t percent) { (void)percent; }
    /// The window's Music option, which a saved game keeps with the settings.
    virtual bool musicOn() const { return false; }
    /// The board colour as the user chose it (a direct or a system colour),
    /// as a saved game stores it; nullopt: the puzzle's own BoardColor.
    virtual std::optional<Color> boardColorChoice() const { return std::nullopt; }
    /// A resumed game brings back its board colour (direct or system). The
    /// puzzle has already taken a direct colour as its BoardColor; the window
    /// shows the colour and resolves a system colour for the puzzle.
    virtual void restoreBoardColor(Color colour) { (void)colour; }
    /// A resumed game brings back its options: the window checks the Shadows,
    /// Rotating Pieces, Allow Cheating, Sound and Music items and the Outlines
    /// entry as `config` and `music` say and sets the Sound and Music buttons,
    /// without running the items' handlers. Does nothing by default.
    virtual void restoreOptions(const TJigConfig& config, bool music) {
        (void)config;
        (void)music;
    }

    /// The display's bits per pixel.
    virtual int displayDepth() const = 0;

    /// Draws `text` into `target` with its top-left at (x, y), clipped to `clip`,
    /// in the given font and colour, with a transparent background.
    virtual void drawText(Bitmap24& target, const Rect& clip, int32_t x, int32_t y, const std::string& text,
                          const FontSpec& font, Color color) = 0;
    /// The pixel size of `text` in `font`.
    virtual Point textExtent(const std::string& text, const FontSpec& font) = 0;
};

/// Shows the busy cursor for its lifetime and restores the default cursor and
/// clears the status line when it ends, also when an exception passes.
class BusyScope {
public:
    explicit BusyScope(Host& host) : m_host(host) { m_host.setCursor(CursorShape::Busy); }
    ~BusyScope() {
        // Runs while an exception may be passing: a failing host call must not
        // end the program.
        try {
            m_host.setStatusText({});
        } catch (...) {
        }
        try {
            m_host.setCursor(CursorShape::Default);
        } catch (...) {
        }
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    Host& m_host;
};

/// Reports the progress of a long step on the status line: caption, percent
/// and "%", only when the percent changes and is a multiple of 5.
class ProgressReporter {
public:
    ProgressReporter(Host& host, std::string caption, int64_t total)
        : m_host(host), m_caption(std::move(caption)), m_total(total) {}

    /// Reports that `step` of `total` steps are done.
    void step(int64_t step) {
        if (m_total <= 0) {
            return;
        }
        const int64_t percent = step * 100 / m_total;
        if (percent != m_last && percent % 5 == 0) {
            m_host.setStatusText(m_caption + std::to_string(percent) + "%");
        }
        m_last = percent;
    }

private:
    Host& m_host;
    std::string m_caption;
    int64_t m_total;
    int64_t m_last = -1;
};

} // namespace zg
