#pragma once

class QDialog;
class QHBoxLayout;
class QPushButton;

namespace zg {

/// Makes the dialog's default "OK" button (object name "OKBtn"), which
/// accepts `dialog`, and returns a row that holds it centred. The caller adds
/// the row to the dialog's layout; the button is stored in `okButton`.
QHBoxLayout* makeOkButtonRow(QDialog& dialog, QPushButton*& okButton);

} // namespace zg
