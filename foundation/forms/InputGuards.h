#pragma once
// Boxes that refuse, with a message, what would otherwise be lost without a word: a letter the
// tables' code page cannot hold (it would be stored as "?"), and a number above the box's
// limit (a spin box drops the keystroke, so "150" in a box of at most 100 becomes 15).
// Every form whose boxes store into a table calls guardInputBoxes() once on itself.
#include <QString>

class QAbstractSpinBox;
class QLineEdit;
class QWidget;

namespace kavina {

class Prompt;

// Typing or pasting a letter Windows-1250 cannot hold leaves the box as it was and warns,
// naming the letters. A box with a validator of its own is left alone.
void refuseUnstorableText(QLineEdit* box, Prompt& prompt);

// Typing or pasting a number above the box's maximum (or below a negative minimum) leaves
// the box as it was and warns, naming the limit.
void refuseOutOfRange(QAbstractSpinBox* box, Prompt& prompt);

// Both, for every line edit and number box under the widget (the widget included).
void guardInputBoxes(QWidget* root, Prompt& prompt);

// The warning of refuseOutOfRange, for a typed text and a limit as the box shows them.
QString outOfRangeMessage(const QString& typed, const QString& limit, bool aboveMaximum);

}  // namespace kavina
