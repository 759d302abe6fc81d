#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zg {

/// The program's About box: product name, version, the maker's notice and
/// the web address in `WebLab`, which asks for the page to be opened when
/// clicked. Created once; shown modally by the About command.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* webLabel() const { return m_webLab; }
    QPushButton* okButton() const { return m_okBtn; }

signals:
    /// The web address was clicked.
    void webPageRequested(const QString& address);

private:
    QLabel* m_webLab = nullptr;
    QPushButton* m_okBtn = nullptr;
};

} // namespace zg
