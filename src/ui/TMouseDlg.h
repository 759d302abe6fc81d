#pragma once

#include <QDialog>

class QButtonGroup;
class QPushButton;
class QRadioButton;

namespace zg {

/// The reminder shown after choosing the Alternative action while rotation is off.
inline constexpr const char* kAlternativeMouseReminder =
    "Alternative mouse action is enabled. Don't forget to enable \"Options/Rotating Pieces\" for piece "
    "rotation!";

/// "Choose mouse action": the radio group `MouseAction` ("Default" 0,
/// "Alternative" 1) with OK, Cancel and Help. Created once; the Right Mouse
/// Button command preselects the current action and shows it modally.
class TMouseDlg : public QDialog {
    Q_OBJECT
public:
    explicit TMouseDlg(QWidget* parent = nullptr);

    /// Selects item `index` (0 Default, 1 Alternative; anything else counts as 0).
    void setAction(int index);
    /// The selected item.
    int action() const;

    QRadioButton* item(int index) const;
    QPushButton* okButton() const { return m_okBtn; }
    QPushButton* cancelButton() const { return m_cancelBtn; }
    QPushButton* helpButton() const { return m_helpBtn; }

private:
    QButtonGroup* m_group = nullptr;
    QPushButton* m_okBtn = nullptr;
    QPushButton* m_cancelBtn = nullptr;
    QPushButton* m_helpBtn = nullptr;
};

} // namespace zg
