#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;

namespace zg {

/// The order form for the full version: collects the buyer's name, postal
/// address and e-mail with the title of the gift it came from, and prints the
/// order (the print dialog can also write a PDF file) to be mailed. Nothing
/// is sent anywhere from this window. Created once; shown modally from the
/// Help menu and the splash window's Order button.
class TOrderForm : public QDialog {
    Q_OBJECT
public:
    explicit TOrderForm(QWidget* parent = nullptr);

    /// Puts the gift's title into its field (the user may change it).
    void setGiftTitle(const QString& title);

    /// The order as it is printed, in simple HTML.
    QString orderDocument() const;
    /// Prints the order on `printer` (a PDF file when the printer says so).
    void printTo(QPrinter& printer) const;

    QLineEdit* nameEdit() const { return m_name; }
    QLineEdit* streetEdit() const { return m_street; }
    QLineEdit* townEdit() const { return m_town; }
    QLineEdit* postcodeEdit() const { return m_postcode; }
    QLineEdit* countryEdit() const { return m_country; }
    QLineEdit* emailEdit() const { return m_email; }
    QLineEdit* giftTitleEdit() const { return m_giftTitle; }
    QLabel* noteLabel() const { return m_note; }
    QPushButton* printButton() const { return m_printBtn; }
    QPushButton* closeButton() const { return m_closeBtn; }

private:
    void PrintClick();

    QLineEdit* m_name = nullptr;
    QLineEdit* m_street = nullptr;
    QLineEdit* m_town = nullptr;
    QLineEdit* m_postcode = nullptr;
    QLineEdit* m_country = nullptr;
    QLineEdit* m_email = nullptr;
    QLineEdit* m_giftTitle = nullptr;
    QLabel* m_note = nullptr;
    QPushButton* m_printBtn = nullptr;
    QPushButton* m_closeBtn = nullptr;
};

} // namespace zg
