#pragma once

class QLineEdit;

namespace norvik {

// Makes a text field take digits only, at most maxDigits of them, whichever way the text comes
// (typing, pasting, dropping): a digit is refused while the field is full and nothing in it is
// selected to be replaced.
void makeDigitField(QLineEdit* field, int maxDigits);

} // namespace norvik
