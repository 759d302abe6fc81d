#include "ui/TOrderForm.h"

#include "ui/DialogColors.h"
#include "ui/MakerInfo.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace zg {

namespace {

constexpr int kFieldWidth = 280;

QLineEdit* field(const char* name, int maxLength, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    edit->setMinimumWidth(kFieldWidth);
    return edit;
}

} // namespace

TOrderForm::TOrderForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("OrderForm"));
    setWindowTitle(QStringLiteral("Order the full version"));

    auto* intro = new QLabel(
        QStringLiteral(
            "Order the latest full version of Zanthoria Gift: fill in your details, print the order "
            "and mail it to us."),
        this);
    intro->setWordWrap(true);

    m_name = field("NameEdit", 80, this);
    m_street = field("StreetEdit", 120, this);
    m_town = field("TownEdit", 80, this);
    m_postcode = field("PostcodeEdit", 20, this);
    m_country = field("CountryEdit", 60, this);
    m_email = field("EmailEdit", 120, this);
    m_giftTitle = field("GiftTitleEdit", 64, this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Name:"), m_name);
    form->addRow(QStringLiteral("&Street:"), m_street);
    form->addRow(QStringLiteral("&Town:"), m_town);
    form->addRow(QStringLiteral("&Postcode:"), m_postcode);
    form->addRow(QStringLiteral("&Country:"), m_country);
    form->addRow(QStringLiteral("&E-mail:"), m_email);
    form->addRow(QStringLiteral("&Gift title:"), m_giftTitle);

    m_note = new QLabel(QStringLiteral("Nothing is sent anywhere from this window: your details stay on this "
                                       "computer. Print the order (or save it as a PDF file from the print "
                                       "dialog) and mail it to the address given on our web site, %1.")
                            .arg(QString::fromLatin1(kMakerWebAddress)),
                        this);
    m_note->setObjectName(QStringLiteral("NoteLabel"));
    m_note->setWordWrap(true);
    QFont bold = m_note->font();
    bold.setBold(true);
    m_note->setFont(bold);

    m_printBtn = new QPushButton(QStringLiteral("&Print..."), this);
    m_printBtn->setObjectName(QStringLiteral("PrintBtn"));
    m_printBtn->setDefault(true);
    m_closeBtn = new QPushButton(QStringLiteral("Close"), this);
    m_closeBtn->setObjectName(QStringLiteral("CloseBtn"));
    m_closeBtn->setAutoDefault(false);
    connect(m_printBtn, &QPushButton::clicked, this, [this] { PrintClick(); });
    connect(m_closeBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_printBtn);
    buttons->addWidget(m_closeBtn);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(m_note);
    layout->addLayout(buttons);
    fixDialogColors(*this);
}

void TOrderForm::setGiftTitle(const QString& title) {
    m_giftTitle->setText(title);
}

QString TOrderForm::orderDocument() const {
    const auto row = [](const QString& caption, const QLineEdit* edit) {
        return QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>")
            .arg(caption, edit->text().trimmed().toHtmlEscaped());
    };
    return QStringLiteral("<h2>Order: Zanthoria Gift, full version</h2>"
                          "<p>Please send me the latest full version of Zanthoria Gift.</p>"
                          "<table cellpadding=\"4\">%1%2%3%4%5%6%7</table>"
                          "<p>Mail this order to the address given on %8.</p>")
        .arg(row(QStringLiteral("Name:"), m_name), row(QStringLiteral("Street:"), m_street),
             row(QStringLiteral("Town:"), m_town), row(QStringLiteral("Postcode:"), m_postcode),
             row(QStringLiteral("Country:"), m_country), row(QStringLiteral("E-mail:"), m_email),
             row(QStringLiteral("Gift title:"), m_giftTitle),
             QString::fromLatin1(kMakerWebAddress).toHtmlEscaped());
}

void TOrderForm::printTo(QPrinter& printer) const {
    QTextDocument document;
    document.setHtml(orderDocument());
    document.print(&printer);
}

void TOrderForm::PrintClick() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Print order"));
    if (dialog.exec() == QDialog::Accepted) {
        printTo(printer);
    }
}

} // namespace zg
