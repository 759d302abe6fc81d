#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zg {

/// The congratulations dialog ("You solved it!") shown once the puzzle is
/// complete: the heading "Congratulations!" in bold blue with a white shadow,
/// a picture, the status text `JigStatus` and an OK button. Made for one
/// showing with exec().
class TCongratsDlg : public QDialog {
    Q_OBJECT
public:
    explicit TCongratsDlg(QWidget* parent = nullptr);

    /// Puts the completion text into `JigStatus`.
    void setStatusText(const QString& text);
    QString statusText() const;

    /// Shows `picture` (the solved puzzle) reduced to the picture box, keeping
    /// its proportions. Without one the box shows the program's picture glyph.
    void setPicture(const QImage& picture);
    /// The picture box's current contents.
    QPixmap picture() const;

    QLabel* heading() const { return m_heading; }
    QPushButton* okButton() const { return m_okBtn; }

private:
    QLabel* m_heading = nullptr;
    QLabel* m_picture = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_okBtn = nullptr;
};

} // namespace zg
