#include "OLP_Logic_MetaTypes.h"

#include <QImage>
#include <QString>

void olpRegisterMetaTypes()
{
    qRegisterMetaType<QVector<int>>("QVector<int>");
    qRegisterMetaType<OLP_Logic_FolderSettingsRecord>("OLP_Logic_FolderSettingsRecord");
    qRegisterMetaType<QImage>("QImage");
    qRegisterMetaType<qulonglong>("qulonglong");
    qRegisterMetaType<quint32>("quint32");
    qRegisterMetaType<ushort>("ushort");
}
