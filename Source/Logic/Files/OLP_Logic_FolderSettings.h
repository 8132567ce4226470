#pragma once

#include <QMutex>
#include <QObject>
#include <QString>

#include "OLP_Logic_FolderSettingsRecord.h"

// Where transferred pictures go and how they are named: a DNG folder, a JPG
// folder, a base name and the running picture number, plus the example file
// name the GUI shows (the full path the next picture will get).
//
// Thread: owned by the camera object and living in the controller thread. The
// transfer threads call nextPictureFile() while the controller (on the GUI's
// request) changes folders and names, so every member is safe to call from any
// thread: one mutex guards all fields and each call is one step under it.
// signalPictureExampleChanged() is emitted by whichever thread made the change,
// after the mutex is released; receivers in other threads get it queued.
//
// Folders are stored with "/" separators (a backslash is taken as a separator
// too, since folder texts may come from a Windows-style settings file) and
// returned with the platform's native separators.
class OLP_Logic_FolderSettings : public QObject
{
    Q_OBJECT
public:
    enum class ePictureKind
    {
        Dng,
        Jpg,
        Broken  // neither DNG nor JPG: fetched from the camera but never written
    };

    // The destination chosen for one picture the camera announced.
    struct PictureFile
    {
        ePictureKind kind = ePictureKind::Broken;
        QString path;             // full path with "/" separators; no file existed there when chosen
        QString cameraExtension;  // the camera's extension as the camera spelled it, empty without "."
        int number = 0;           // the picture number in the name
        bool numberAdvanced = false;
        bool folderReplaced = false;  // the chosen folder was missing; the default one took its place
    };

    // The transfer stops advancing the number here.
    static constexpr int kLastAdvancingNumber = 99999;

    OLP_Logic_FolderSettings();

    // The platform's pictures folder, or the home folder when the platform has
    // none; obtained once.
    static QString defaultPictureFolder();
    // The default folder for a given platform pictures location.
    static QString defaultFolderFor(const QString& picturesLocation);
    static QString defaultPictureName();
    // The number as it appears in file names: at least five digits, zero-filled.
    static QString numberText(int number);
    // Text after the last "." of the camera's file name; empty without ".".
    static QString cameraExtension(const QString& cameraFileName);
    // DNG or JPG by the camera's extension, without regard to case.
    static ePictureKind pictureKind(const QString& cameraFileName);
    // File formats 1 and 2 give a DNG and a JPG per shot.
    static bool isPairFormat(int fileFormat);
    // path itself when no file exists there, else the first free variant with
    // "_1", "_2", ... before "." + cameraExtension. The transfer thread calls it
    // again when opening the chosen file as a new file fails because another
    // writer got there first.
    static QString uniquePath(const QString& path, const QString& cameraExtension);
    // A base name may not hold "/", "\\" or control characters: every file name
    // built from it must stay inside its folder and be a plain name there.
    static bool isAcceptablePictureName(const QString& name);

    // Takes over the GUI's values in one step; empty folders become the default
    // folder, an empty name becomes "Picture", a number below 1 and a name that
    // isAcceptablePictureName() refuses are refused (the previous value stays).
    void load(const OLP_Logic_FolderSettingsRecord& record);
    // The current values in the form the GUI stores them.
    OLP_Logic_FolderSettingsRecord record() const;

    QString dngPath() const;
    QString jpgPath() const;
    QString pictureExampleFileName() const;
    QString pictureName() const;
    int pictureIndex() const;
    bool exampleIsDng() const;
    QString pictureOrgFileName() const;

    void setDngPath(const QString& path);
    void setJpgPath(const QString& path);
    // A name that isAcceptablePictureName() refuses is logged, the previous name
    // stays and false is returned.
    bool setPictureName(const QString& name);
    // Numbers below 1 are refused (logged) and false is returned.
    bool setPictureIndex(int number);
    void setExampleIsDng(bool isDng);
    void setPictureOrgFileName(const QString& name);
    void incrementPictureNumber();

    void dump(const QString& caller) const;

    // Chooses folder and file name for the picture the camera calls
    // cameraFileName and advances the number (not for the first file of a DNG+JPG
    // pair, not at or above 99999, not for broken data). A missing folder is
    // replaced by the default folder, which is stored.
    PictureFile nextPictureFile(const QString& cameraFileName, int fileFormat, quint32 productId);

signals:
    void signalPictureExampleChanged();

private:
    static QString storedFolder(const QString& path);
    static void logRefusedName(const char* caller, const QString& name, const QString& kept);
    void updateExampleLocked();

    // Guards every field below: the transfer threads name files while the
    // controller changes the settings.
    mutable QMutex m_mutex;
    QString m_dngPath;
    QString m_jpgPath;
    QString m_pictureOrgFileName;
    QString m_pictureName;
    QString m_pictureExampleFileName;
    bool m_exampleIsDng = false;
    int m_pictureNumber = 1;
};
