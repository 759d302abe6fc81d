#pragma once

#include <QDialog>
#include <QFont>

#include <optional>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QTextEdit;

namespace zg {

class GlyphButton;

/// How the start or end message of a gift is shown in the splash window.
struct MessageLook {
    QFont font;
    QColor textColor = Qt::black;
    /// The box colour; none when the gift's colour name is invalid (white box,
    /// alignment left as it was).
    std::optional<QColor> background;
    int alignment = 0; ///< 0 left, 1 right, 2 centred
};

/// The gift text of the splash window for the maker's version text
/// (the gift's maker version cut before its first ".").
QString splashGiftText(const QString& versionText);

/// The maker version as the gift text shows it: cut before its first ".";
/// a text without "." is used whole.
QString shortMakerVersion(const QString& makerVersion);

/// The splash window: greets the user with the gift's start message and Play,
/// offers "Resume game..." when a saved game was read, and at exit shows the
/// end message with Close and "Save game...". Borderless, black, centred.
class TSplashForm : public QDialog {
    Q_OBJECT
public:
    explicit TSplashForm(QWidget* parent = nullptr);

    /// Fills the gift label with the gift text for `versionText`.
    void setGiftText(const QString& versionText);
    QString giftText() const;

    /// Puts `text` into the message box with the given look. An empty text
    /// hides the box and makes the panel and the window shorter.
    void setMessage(const QString& text, const MessageLook& look);
    QString messageText() const;
    bool isMessageShown() const;
    QTextEdit* messageBox() const { return m_memo; }

    /// Shows the check box as "Resume game..." and puts Play's glyph right of
    /// its caption on a button four sixths as high.
    void showResumeBox();
    /// Turns the window into the exit variant: a Close button that also
    /// answers Escape and the check box "Save game...", checked.
    void makeExitVariant();
    bool isBoxShown() const;
    bool isBoxChecked() const;
    QCheckBox* saveResumeBox() const { return m_box; }

    /// Enables or disables the Play, Order and web buttons together. The
    /// Order button stays disabled while no order form is available.
    void setButtonsEnabled(bool enabled);
    /// Whether the Order button has an order form to open (default: none).
    void setOrderAvailable(bool available);

    /// While it is the start-up banner the window stays on top of others;
    /// shown modally it is a normal window.
    void setStayOnTop(bool onTop);

    QPushButton* okButton() const;
    QPushButton* webButton() const { return m_webBtn; }
    QPushButton* orderButton() const { return m_orderBtn; }
    /// The window's height when it was created (with the message box).
    int fullHeight() const { return m_fullHeight; }

    /// Escape and the window's close button give the same result as the main
    /// button: the window closes with the OK result.
    void reject() override;

signals:
    /// The web button was clicked; `address` is its caption.
    void webPageRequested(const QString& address);
    /// The Order button was clicked.
    void orderRequested();

private:
    void relayout();

    QFrame* m_panel = nullptr;
    QLabel* m_product = nullptr;
    QLabel* m_productShadow = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_copyright = nullptr;
    QLabel* m_giftLabel = nullptr;
    QTextEdit* m_memo = nullptr;
    GlyphButton* m_okBtn = nullptr;
    QPushButton* m_webBtn = nullptr;
    QPushButton* m_orderBtn = nullptr;
    QCheckBox* m_box = nullptr;
    bool m_messageShown = true;
    bool m_shortButton = false;
    bool m_orderAvailable = false;
    bool m_buttonsEnabled = true;
    int m_fullHeight = 0;
};

} // namespace zg
