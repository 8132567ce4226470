#pragma once

#include <QString>
#include <QStringList>

class QComboBox;

// The two rules every settings tab applies to its combo boxes, so that the
// capture tab and the file tab treat the controller's lists and values alike.
//
// List rule: an empty list is refused, the box keeps its entries and the
// setting's empty-list message is logged (flag 0); otherwise the box is cleared
// and filled with the list in order.
//
// Value rule: the entry whose display text equals the value exactly
// (case-sensitive) becomes current; when there is none the box keeps its entry
// and the setting's unknown-value message is logged (flag 0) with the value.
//
// The messages are printf formats: the empty-list one takes the method's own
// name ("%s - empty aperture list"), the unknown-value one the method's name
// and the value ("%s - illegal aperture %s"). A null unknown-value format
// selects silently. Neither rule emits a user signal: combo boxes report user
// choices through their activated signals only.
//
// Thread: GUI thread only, like the boxes they fill.
class OLP_GUI_ComboRules
{
public:
    // Returns true when the list was taken.
    static bool setList(QComboBox* box, const QStringList& list, const char* method, const char* emptyListFormat);
    // Returns true when an entry with the text exists (and is now current).
    static bool setValue(QComboBox* box, const QString& value, const char* method, const char* unknownValueFormat);
};
