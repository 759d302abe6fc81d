#pragma once

class QWidget;

namespace zg {

/// The colour fix-up a dialog applies to itself when shown, so that its
/// texts stay readable on any desktop colour scheme. For every widget on
/// `form`: a label that sizes itself to its text re-measures; a label, check
/// box, radio button or group box whose text is pure black gets the desktop's
/// window-text colour; a button or panel whose text is pure black gets the
/// desktop's button-text colour; everything else is left alone.
void fixDialogColors(QWidget& form);

} // namespace zg
