#include "ui/OkButtonRow.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace zg {

QHBoxLayout* makeOkButtonRow(QDialog& dialog, QPushButton*& okButton) {
    okButton = new QPushButton(QStringLiteral("OK"), &dialog);
    okButton->setObjectName(QStringLiteral("OKBtn"));
    okButton->setDefault(true);
    QObject::connect(okButton, &QPushButton::clicked, &dialog, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(okButton);
    row->addStretch();
    return row;
}

} // namespace zg
