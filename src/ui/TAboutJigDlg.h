#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QPushButton;
class QTextEdit;

namespace zg {

struct AboutTexts;

/// The creation date `created` (days since 30 December 1899, as saved) in the
/// user's short date format. A value that is not a finite day of the years
/// 100 to 9999 (a damaged or foreign record) gives an empty text.
std::string shortDateText(double created);

/// "About this jigsaw": the title, creator, size, creation and progress texts
/// of the running puzzle in group "Information", and its description in the
/// read-only box `Memo1` (bold navy) in group "Description". Created once;
/// filled and shown modally by the About this Jigsaw command.
class TAboutJigDlg : public QDialog {
    Q_OBJECT
public:
    explicit TAboutJigDlg(QWidget* parent = nullptr);

    /// Applies the colour fix-up and puts `texts` into the labels; the
    /// description box keeps its text when `texts` has no description.
    void fill(const AboutTexts& texts);

    QLabel* titleName() const { return m_titleName; }
    QLabel* creatorName() const { return m_creatorName; }
    QLabel* puzzleStats() const { return m_puzzleStats; }
    QLabel* creationStats() const { return m_creationStats; }
    QLabel* jigStatus() const { return m_jigStatus; }
    QTextEdit* memo() const { return m_memo; }
    QPushButton* okButton() const { return m_okBtn; }

private:
    QLabel* m_titleName = nullptr;
    QLabel* m_creatorName = nullptr;
    QLabel* m_puzzleStats = nullptr;
    QLabel* m_creationStats = nullptr;
    QLabel* m_jigStatus = nullptr;
    QTextEdit* m_memo = nullptr;
    QPushButton* m_okBtn = nullptr;
};

} // namespace zg
