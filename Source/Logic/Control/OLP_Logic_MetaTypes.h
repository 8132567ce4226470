#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QVector>

#include "OLP_Logic_FolderSettingsRecord.h"

// Value types that cross threads in queued signals between the controller
// thread, the transfer threads and the GUI thread.
Q_DECLARE_METATYPE(QByteArray*)

// Registers every value type carried by a queued connection of the program.
// Called once by main() and by the test support before any thread starts;
// calling it again does no harm.
void olpRegisterMetaTypes();
