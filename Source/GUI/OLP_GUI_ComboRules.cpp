#include "OLP_GUI_ComboRules.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "OLP_Debug.h"

bool OLP_GUI_ComboRules::setList(QComboBox* box, const QStringList& list, const char* method,
                                 const char* emptyListFormat)
{
    if (list.isEmpty()) {
        debugPrintf(0, emptyListFormat, method);
        return false;
    }
    // Refilling moves the current index; those are not the user's choices.
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItems(list);
    return true;
}

bool OLP_GUI_ComboRules::setValue(QComboBox* box, const QString& value, const char* method,
                                  const char* unknownValueFormat)
{
    const int index = box->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        if (unknownValueFormat) {
            debugPrintf(0, unknownValueFormat, method, value.toUtf8().constData());
        }
        return false;
    }
    const QSignalBlocker blocker(box);
    box->setCurrentIndex(index);
    return true;
}
