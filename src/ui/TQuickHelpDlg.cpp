#include "ui/TQuickHelpDlg.h"

#include "ui/DialogColors.h"
#include "ui/OkButtonRow.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace zg {

namespace {

using Row = std::pair<const char*, const char*>;

QGroupBox* makeGroup(const QString& caption, std::initializer_list<Row> rows, QWidget* parent) {
    auto* group = new QGroupBox(caption, parent);
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(24);
    int line = 0;
    for (const Row& row : rows) {
        auto* what = new QLabel(QString::fromLatin1(row.first), group);
        auto* does = new QLabel(QString::fromLatin1(row.second), group);
        QFont bold = what->font();
        bold.setBold(true);
        what->setFont(bold);
        grid->addWidget(what, line, 0);
        grid->addWidget(does, line, 1);
        ++line;
    }
    grid->setColumnStretch(1, 1);
    return group;
}

} // namespace

TQuickHelpDlg::TQuickHelpDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("QuickHelpDlg"));
    setWindowTitle(QStringLiteral("Quick help"));

    QGroupBox* piece = makeGroup(QStringLiteral("Mouse click over piece"),
                                 {{"Left mouse", "Move piece"},
                                  {"Right mouse", "Piece popup menu"},
                                  {"Shift+left mouse", "Fetch neighbor"},
                                  {"Shift+right mouse", "Show neighbor"},
                                  {"Ctrl+left mouse", "Rotate piece left"},
                                  {"Ctrl+right mouse", "Rotate piece right"}},
                                 this);
    QGroupBox* board =
        makeGroup(QStringLiteral("Mouse click over board"),
                  {{"Left mouse", "Drag box to select pieces"}, {"Right mouse", "Board popup menu"}}, this);

    // OK is the default button, and Escape (the dialog's cancel) closes the card too.
    QHBoxLayout* buttons = makeOkButtonRow(*this, m_okBtn);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(piece);
    layout->addWidget(board);
    layout->addLayout(buttons);

    fixDialogColors(*this);
}

} // namespace zg
