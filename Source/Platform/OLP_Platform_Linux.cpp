#include "OLP_Platform_Linux.h"

#include <QDir>
#include <QStandardPaths>

QString OLP_Platform_Linux::dataLocation()
{
    const QStringList locations = QStandardPaths::standardLocations(QStandardPaths::AppDataLocation);
    return locations.isEmpty() ? QString() : locations.first();
}

QString OLP_Platform_Linux::picturesLocation()
{
    const QStringList locations = QStandardPaths::standardLocations(QStandardPaths::PicturesLocation);
    if (!locations.isEmpty() && !locations.first().isEmpty()) {
        const QString pictures = locations.first();
        if (QDir().mkpath(pictures)) {
            return pictures;
        }
    }
    return QDir::homePath();
}

bool OLP_Platform_Linux::beginTransferActivity(quint32* token)
{
    Q_UNUSED(token);
    return true;
}

void OLP_Platform_Linux::endTransferActivity(quint32 token)
{
    Q_UNUSED(token);
}
