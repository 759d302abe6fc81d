#include "ui/TMouseDlg.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zg {

TMouseDlg::TMouseDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("MouseDlg"));
    setWindowTitle(QStringLiteral("Choose mouse action"));

    auto* box = new QGroupBox(QStringLiteral("Mouse action"), this);
    box->setObjectName(QStringLiteral("MouseAction"));
    m_group = new QButtonGroup(this);
    auto* items = new QVBoxLayout(box);
    const char* captions[2] = {"Default", "Alternative"};
    for (int i = 0; i < 2; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(captions[i]), box);
        m_group->addButton(radio, i);
        items->addWidget(radio);
    }
    m_group->button(0)->setChecked(true);

    m_okBtn = new QPushButton(QStringLiteral("OK"), this);
    m_okBtn->setDefault(true);
    m_cancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    m_helpBtn = new QPushButton(QStringLiteral("&Help"), this);
    m_helpBtn->setAutoDefault(false);
    connect(m_okBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_helpBtn, &QPushButton::clicked, this, [this] {
        QMessageBox::information(
            this, windowTitle(),
            QStringLiteral("Default: the right mouse button opens the popup menus; Ctrl+left and Ctrl+right "
                           "click turn a piece left and right.\n\nAlternative: a right click turns a piece "
                           "right; Ctrl+right click opens the popup menus. Turning needs \"Options/Rotating "
                           "Pieces\"."));
    });

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_okBtn);
    buttons->addWidget(m_cancelBtn);
    buttons->addWidget(m_helpBtn);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(box);
    layout->addLayout(buttons);
}

void TMouseDlg::setAction(int index) {
    m_group->button(index == 1 ? 1 : 0)->setChecked(true);
}

int TMouseDlg::action() const {
    return m_group->checkedId() == 1 ? 1 : 0;
}

QRadioButton* TMouseDlg::item(int index) const {
    return qobject_cast<QRadioButton*>(m_group->button(index));
}

} // namespace zg
