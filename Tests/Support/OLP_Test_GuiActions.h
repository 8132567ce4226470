#pragma once

#include <QString>

class QComboBox;

// What a user does with the widgets, for the widget tests.

// Opens the box's popup with the keyboard (F4), walks to the entry with the
// arrow keys and takes it with Return, so that the box reports one choice as
// it does for a user. False when the entry does not exist or the popup did not
// open and close.
bool olpChooseEntry(QComboBox* box, const QString& text);
