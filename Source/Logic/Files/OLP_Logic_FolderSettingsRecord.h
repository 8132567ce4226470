#pragma once

#include <QMetaType>
#include <QString>

// The folder and file-name settings of one camera product as the GUI keeps them
// and hands them to the camera's folder settings. A plain value; it crosses
// threads through queued signals.
struct OLP_Logic_FolderSettingsRecord
{
    QString dngFolder;
    QString jpgFolder;
    QString pictureName;
    int pictureNumber = 1;

    bool operator==(const OLP_Logic_FolderSettingsRecord& other) const
    {
        return dngFolder == other.dngFolder && jpgFolder == other.jpgFolder && pictureName == other.pictureName &&
               pictureNumber == other.pictureNumber;
    }
    bool operator!=(const OLP_Logic_FolderSettingsRecord& other) const { return !(*this == other); }
};

Q_DECLARE_METATYPE(OLP_Logic_FolderSettingsRecord)
