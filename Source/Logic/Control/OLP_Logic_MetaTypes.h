#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QVector>

#include "OLP_Logic_FolderSettingsRecord.h"

// Registers every value type carried by a queued connection of the program.
// Called once by main() and by the test support before any thread starts;
// calling it again does no harm.
void olpRegisterMetaTypes();
