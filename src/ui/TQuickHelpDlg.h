#pragma once

#include <QDialog>

class QPushButton;

namespace zg {

/// The quick-help card ("Quick help"): what each mouse click does over a
/// piece and over the board, with an OK button (default and cancel) that
/// closes it. Created once; shown modally by the Quick Help command.
class TQuickHelpDlg : public QDialog {
    Q_OBJECT
public:
    explicit TQuickHelpDlg(QWidget* parent = nullptr);

    QPushButton* okButton() const { return m_okBtn; }

private:
    QPushButton* m_okBtn = nullptr;
};

} // namespace zg
