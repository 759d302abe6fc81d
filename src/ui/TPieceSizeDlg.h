#pragma once

#include <QDialog>

#include <array>
#include <functional>

class QLabel;
class QPushButton;
class QScrollBar;
class QToolButton;

namespace zg {

class Bitmap24;
class StyleLamp;
class TJigsaw;

/// What the piece size dialog asks of the running puzzle.
struct PieceSizeHooks {
    /// Whether a cut at `scale` per cent gives usable cells; with a canvas,
    /// also draws one sample piece of that cell size, style and oddness on it.
    std::function<bool(Bitmap24* canvas, int scale, int style, int oddness)> preview;
    /// Stores the oddness and style the next cut uses.
    std::function<void(int oddness, int style)> setShape;
    /// Re-cuts and redraws the puzzle at `scale` per cent with the stored
    /// shape. False, or an exception, when it could not (the puzzle is then
    /// unchanged).
    std::function<bool(int scale)> setScale;
};

/// The hooks for the puzzle object `jigsaw` gives at each call (a restart
/// replaces it): the preview of its picture and grid, its Style and Oddness,
/// and Rescale followed by a new board layout; `redrawn` runs after each
/// successful re-cut (the window repaints from the new board).
PieceSizeHooks pieceSizeHooksFor(std::function<TJigsaw&()> jigsaw, std::function<void()> redrawn);

/// "Set Piece Size and Shape": six style buttons with their lamps, the
/// oddness and size bars, a live preview of one piece, and Apply, OK, Cancel
/// and Help. Nothing changes in the puzzle until Apply or OK; Cancel keeps
/// what Apply already did.
class TPieceSizeDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPreviewWidth = 213;
    static constexpr int kPreviewHeight = 194;
    static constexpr int kStyleCount = 6;

    explicit TPieceSizeDlg(PieceSizeHooks hooks, QWidget* parent = nullptr);

    /// Prepares a showing for the puzzle's `style`, `oddness` and `scale`:
    /// sets the bars, labels and lamps and clears the changed flag. The scale
    /// becomes the one to spring back to when it is usable.
    void load(int style, int oddness, int scale);

    /// Applies the bars and the style to the puzzle; on failure says so and
    /// falls back to 100 %, and when that fails too, keeps the puzzle's old
    /// shape. Returns whether the chosen scale was applied.
    bool apply();

    int selectedStyle() const { return m_style; }
    bool isChanged() const { return m_changed; }
    /// The scale the size bar springs back to.
    int lastAcceptedScale() const { return m_lastScale; }
    /// Which lamps are lit, styles 1..6 in order.
    std::array<bool, kStyleCount> lamps() const;

    QToolButton* styleButton(int style) const { return m_styleBtns[std::size_t(style - 1)]; }
    QScrollBar* oddnessBar() const { return m_oddBar; }
    QScrollBar* scaleBar() const { return m_scaleBar; }
    QLabel* oddnessLabel() const { return m_oddLabel; }
    QLabel* scaleLabel() const { return m_scaleLabel; }
    QWidget* previewArea() const { return m_preview; }
    QPushButton* applyButton() const { return m_applyBtn; }
    QPushButton* okButton() const { return m_okBtn; }
    QPushButton* cancelButton() const { return m_cancelBtn; }
    QPushButton* helpButton() const { return m_helpBtn; }

    /// Draws the preview for the current choice onto `canvas`, which must be
    /// the preview's size: the area's colour, then the sample piece.
    void drawPreview(Bitmap24& canvas) const;

private:
    void selectStyle(int style);
    void choiceChanged();
    void okClicked();

    PieceSizeHooks m_hooks;
    int m_style = 1;
    bool m_changed = false;
    bool m_springingBack = false;
    int m_lastScale = 100;
    // The shape and scale the puzzle has, as last loaded or applied.
    int m_puzzleStyle = 1;
    int m_puzzleOddness = 0;
    int m_puzzleScale = 100;

    std::array<QToolButton*, kStyleCount> m_styleBtns{};
    std::array<StyleLamp*, kStyleCount> m_leds{};
    QWidget* m_preview = nullptr;
    QScrollBar* m_oddBar = nullptr;
    QScrollBar* m_scaleBar = nullptr;
    QLabel* m_oddLabel = nullptr;
    QLabel* m_scaleLabel = nullptr;
    QPushButton* m_applyBtn = nullptr;
    QPushButton* m_okBtn = nullptr;
    QPushButton* m_cancelBtn = nullptr;
    QPushButton* m_helpBtn = nullptr;
};

} // namespace zg
