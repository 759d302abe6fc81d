#include "ui/TAboutJigDlg.h"

#include "files/InfoTexts.h"
#include "gfx/Color.h"
#include "ui/DialogColors.h"
#include "ui/OkButtonRow.h"
#include "ui/SystemColors.h"

#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include <cmath>

namespace zg {

namespace {

// Days from 30 December 1899 to 1 January 100 and to 31 December 9999.
constexpr double kFirstDay = -657434.0;
constexpr double kLastDay = 2958465.0;
constexpr int kValueWidth = 300;

QLabel* valueLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

std::string shortDateText(double created) {
    if (!std::isfinite(created) || created < kFirstDay || created > kLastDay) {
        return {};
    }
    const QDate date = QDate(1899, 12, 30).addDays(qint64(std::floor(created)));
    return QLocale::system().toString(date, QLocale::ShortFormat).toStdString();
}

TAboutJigDlg::TAboutJigDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutJigDlg"));
    setWindowTitle(QStringLiteral("About this jigsaw"));

    auto* information = new QGroupBox(QStringLiteral("Information"), this);
    m_titleName = valueLabel("TitleName", information);
    m_creatorName = valueLabel("CreatorName", information);
    m_puzzleStats = valueLabel("PuzzleStats", information);
    m_creationStats = valueLabel("CreationStats", information);
    m_jigStatus = valueLabel("JigStatus", information);
    m_jigStatus->setWordWrap(true);
    m_jigStatus->setFixedWidth(kValueWidth);
    auto* grid = new QGridLayout(information);
    const auto caption = [information](const char* text) {
        auto* label = new QLabel(QString::fromLatin1(text), information);
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
        return label;
    };
    grid->addWidget(caption("Title:"), 0, 0);
    grid->addWidget(m_titleName, 0, 1);
    grid->addWidget(caption("Creator:"), 1, 0);
    grid->addWidget(m_creatorName, 1, 1);
    grid->addWidget(caption("Info:"), 2, 0);
    grid->addWidget(m_puzzleStats, 2, 1);
    grid->addWidget(m_creationStats, 3, 1);
    grid->addWidget(caption("Status:"), 4, 0);
    grid->addWidget(m_jigStatus, 4, 1);
    grid->setColumnStretch(1, 1);

    auto* description = new QGroupBox(QStringLiteral("Description"), this);
    m_memo = new QTextEdit(description);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setReadOnly(true);
    m_memo->setAcceptRichText(false);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_memo->setFixedHeight(96);
    QFont bold = m_memo->font();
    bold.setBold(true);
    m_memo->setFont(bold);
    m_memo->setPlainText(QStringLiteral("Hello there!"));
    auto* box = new QVBoxLayout(description);
    box->addWidget(m_memo);

    QHBoxLayout* buttons = makeOkButtonRow(*this, m_okBtn);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(information);
    layout->addWidget(description);
    layout->addLayout(buttons);
}

void TAboutJigDlg::fill(const AboutTexts& texts) {
    fixDialogColors(*this);
    // Navy text on a white box; on any other window colour the desktop's own
    // text colour keeps it readable.
    const bool whiteWindow = resolveColor(kSystemColorFlag | 5) == rgb(255, 255, 255);
    QPalette palette = m_memo->palette();
    palette.setColor(QPalette::Text, whiteWindow ? QColor(0, 0, 128) : toQColor(kSystemColorFlag | 8));
    m_memo->setPalette(palette);

    m_titleName->setText(QString::fromStdString(texts.TitleName));
    m_creatorName->setText(QString::fromStdString(texts.CreatorName));
    m_puzzleStats->setText(QString::fromStdString(texts.PuzzleStats));
    m_creationStats->setText(QString::fromStdString(texts.CreationStats));
    m_jigStatus->setText(QString::fromStdString(texts.JigStatus));
    if (texts.Description) {
        m_memo->setPlainText(QString::fromStdString(*texts.Description));
    }
}

} // namespace zg
