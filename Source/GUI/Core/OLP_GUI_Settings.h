#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QVariant>
#include <optional>

#include "OLP_Logic_FolderSettingsRecord.h"

class QSettings;

// The user's choices kept between runs: the last camera product, always-on-top,
// automatic updates, the distance unit, and per camera product the folder
// settings, the minimal-window choice and the window positions. They live in
// the "xml" settings file (see OLP_GUI_XmlSettingsFormat).
//
// A process-wide singleton that owns the QSettings object of the file; main()
// creates it before the application object and destroys it after the event
// loop, which writes the file. One process-wide mutex guards the singleton's
// creation and every QSettings access, so every member may be called from any
// thread (in practice only the GUI thread does).
//
// A file that cannot be parsed is kept beside the original with the suffix
// ".corrupt" before anything overwrites it; the defaults are used instead.
class OLP_GUI_Settings
{
public:
    static OLP_GUI_Settings* instance();
    static bool exists();
    // Deletes the singleton, which writes pending changes to the file.
    static void destroyInstance();

    // APPDATA + "/Orvane Camera AG/OrvaneLumaport3.xml" when APPDATA is set,
    // else the same below the XDG configuration folder.
    static QString settingsFilePath();

    // The window geometry for a stored rectangle. The 44-pixel title strip above
    // it must lie inside a screen's available area (or at least its left end,
    // when the window was saved on a wider screen); the size is then limited to
    // that area and the rectangle moved left and up into it. Nothing when no
    // screen holds the strip, so the window keeps its default geometry.
    static std::optional<QRect> restoredGeometry(const QRect& stored, const QList<QRect>& availableAreas);

    QString fileName() const;
    // Writes pending changes now; false when the file could not be written.
    bool sync();

    int lastProductId() const;
    // Also makes productId the current product for the per-product keys.
    void setLastProductId(int productId);
    int currentProductId() const;

    bool isAlwaysOnTop() const;
    void setAlwaysOnTop(bool on);
    bool isAutoUpdates() const;
    // "/TcpServerAddress": the address the TCP command server listens on;
    // empty (the default) means every interface. Read only.
    QString tcpServerAddress() const;
    void setAutoUpdates(bool on);
    bool isUnitFeet() const;
    void setIsUnitFeet(bool feet);
    // The emulated demo camera is plugged in at start-up ("/DemoCamera", default false).
    bool isDemoCamera() const;
    void setDemoCamera(bool on);

    OLP_Logic_FolderSettingsRecord folderSettings() const;
    void setFolderSettings(const OLP_Logic_FolderSettingsRecord& record);
    bool isMinimalControlGUI() const;
    void setIsMinimalControlGUI(bool minimal);

    // The stored rectangle of the window with that object name; ok tells
    // whether all four values converted to integers.
    QRect windowPosition(const QString& name, bool* ok) const;
    // Ignored for a window without an object name.
    void setWindowPosition(const QString& name, const QRect& rect);
    // windowPosition() passed through restoredGeometry().
    std::optional<QRect> restoredWindowPosition(const QString& name, const QList<QRect>& availableAreas) const;

    OLP_GUI_Settings(const OLP_GUI_Settings&) = delete;
    OLP_GUI_Settings& operator=(const OLP_GUI_Settings&) = delete;

private:
    OLP_GUI_Settings();
    ~OLP_GUI_Settings();

    void keepCorruptFile();
    // The ...Locked members expect g_settingsMutex to be held by the caller
    // (instance() holds it while the constructor runs).
    int lastProductIdLocked() const;
    QString productGroupLocked() const;
    QVariant valueLocked(const QString& key, const QVariant& defaultValue = QVariant()) const;
    void setValueLocked(const QString& key, const QVariant& value);
    QRect windowPositionLocked(const QString& name, bool* ok) const;

    QSettings* m_settings = nullptr;
    int m_currentProductId = 0;
};
