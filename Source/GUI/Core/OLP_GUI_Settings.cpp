#include "OLP_GUI_Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>

#include "OLP_Debug.h"
#include "OLP_GUI_XmlSettingsFormat.h"

namespace {

// Guards g_instance and every access to the singleton's QSettings object.
QBasicMutex g_settingsMutex;
OLP_GUI_Settings* g_instance = nullptr;

constexpr int kTitleStripHeight = 44;

const char kRoot[] = "/OrvaneLumaport";
const char kFolderSettings[] = "/FolderSettings/";
const char kWindowPositions[] = "/WindowPositions/";

QString globalKey(const char* key)
{
    return QLatin1String(kRoot) + QLatin1String(key);
}

}  // namespace

OLP_GUI_Settings* OLP_GUI_Settings::instance()
{
    QMutexLocker lock(&g_settingsMutex);
    if (!g_instance) {
        g_instance = new OLP_GUI_Settings;
    }
    return g_instance;
}

bool OLP_GUI_Settings::exists()
{
    QMutexLocker lock(&g_settingsMutex);
    return g_instance != nullptr;
}

void OLP_GUI_Settings::destroyInstance()
{
    QMutexLocker lock(&g_settingsMutex);
    delete g_instance;
    g_instance = nullptr;
}

QString OLP_GUI_Settings::settingsFilePath()
{
    QString folder = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA"));
    if (folder.isEmpty()) {
        // Without APPDATA the file would land in the root folder, where it cannot
        // be written on this system.
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        if (folder.isEmpty()) {
            folder = QDir::homePath() + QStringLiteral("/.config");
        }
    }
    if (!folder.endsWith(QLatin1Char('/'))) {
        folder += QLatin1Char('/');
    }
    return folder + QStringLiteral("Orvane Camera AG/OrvaneLumaport3.xml");
}

std::optional<QRect> OLP_GUI_Settings::restoredGeometry(const QRect& stored, const QList<QRect>& availableAreas)
{
    if (stored.width() <= 0 || stored.height() <= 0) {
        return std::nullopt;
    }
    const QRect titleStrip(stored.left(), stored.top() - kTitleStripHeight, stored.width(), kTitleStripHeight);
    // A screen that holds the whole strip comes first. Failing that, a screen
    // that holds the strip's left end (its full height) will do: the window was
    // saved on a wider screen and is moved left until it fits.
    const auto holdsWholeStrip = [&](const QRect& area) { return area.contains(titleStrip); };
    const auto holdsLeftEnd = [&](const QRect& area) {
        return area.contains(titleStrip.topLeft()) && area.contains(titleStrip.bottomLeft());
    };
    auto screen = std::find_if(availableAreas.begin(), availableAreas.end(), holdsWholeStrip);
    if (screen == availableAreas.end()) {
        screen = std::find_if(availableAreas.begin(), availableAreas.end(), holdsLeftEnd);
    }
    if (screen == availableAreas.end()) {
        return std::nullopt;
    }
    const QRect& area = *screen;
    const int width = std::min(stored.width(), area.width());
    const int height = std::min(stored.height(), area.height());
    const int left = std::min(stored.left(), area.right() - width + 1);
    const int top = std::min(stored.top(), area.bottom() - height + 1);
    return QRect(left, top, width, height);
}

OLP_GUI_Settings::OLP_GUI_Settings()
{
    const QString path = settingsFilePath();
    m_settings = new QSettings(path, OLP_GUI_XmlSettingsFormat::format());
    // A crash in the middle of a write must never leave a truncated file.
    m_settings->setAtomicSyncRequired(true);
    debugPrintf(0, "%s - settings file %s", "OLP_GUI_Settings::OLP_GUI_Settings", qUtf8Printable(path));
    if (m_settings->status() == QSettings::FormatError) {
        keepCorruptFile();
    }
    // Before any camera connects, the per-product keys are those of the camera of the previous run.
    m_currentProductId = lastProductIdLocked();
}

OLP_GUI_Settings::~OLP_GUI_Settings()
{
    delete m_settings;
}

void OLP_GUI_Settings::keepCorruptFile()
{
    const QString path = m_settings->fileName();
    QString copy = path + QStringLiteral(".corrupt");
    for (int i = 2; QFileInfo::exists(copy); ++i) {
        copy = path + QStringLiteral(".corrupt.") + QString::number(i);
    }
    if (QFile::copy(path, copy)) {
        debugPrintf(0, "%s - settings file %s cannot be read, defaults are used; the file is kept as %s",
                    "OLP_GUI_Settings::keepCorruptFile", qUtf8Printable(path), qUtf8Printable(copy));
    } else {
        debugPrintf(0, "%s - settings file %s cannot be read, defaults are used; keeping a copy as %s failed",
                    "OLP_GUI_Settings::keepCorruptFile", qUtf8Printable(path), qUtf8Printable(copy));
    }
}

QString OLP_GUI_Settings::fileName() const
{
    QMutexLocker lock(&g_settingsMutex);
    return m_settings->fileName();
}

bool OLP_GUI_Settings::sync()
{
    QMutexLocker lock(&g_settingsMutex);
    m_settings->sync();
    return m_settings->status() != QSettings::AccessError;
}

QString OLP_GUI_Settings::productGroupLocked() const
{
    return QLatin1String(kRoot) + QString::asprintf("/ProductId%d", m_currentProductId);
}

QVariant OLP_GUI_Settings::valueLocked(const QString& key, const QVariant& defaultValue) const
{
    return m_settings->value(key, defaultValue);
}

void OLP_GUI_Settings::setValueLocked(const QString& key, const QVariant& value)
{
    m_settings->setValue(key, value);
}

int OLP_GUI_Settings::lastProductId() const
{
    QMutexLocker lock(&g_settingsMutex);
    return lastProductIdLocked();
}

int OLP_GUI_Settings::lastProductIdLocked() const
{
    bool ok = false;
    const int productId = valueLocked(globalKey("/LastProductId")).toInt(&ok);
    return ok ? productId : 0;
}

void OLP_GUI_Settings::setLastProductId(int productId)
{
    QMutexLocker lock(&g_settingsMutex);
    setValueLocked(globalKey("/LastProductId"), productId);
    m_currentProductId = productId;
}

int OLP_GUI_Settings::currentProductId() const
{
    QMutexLocker lock(&g_settingsMutex);
    return m_currentProductId;
}

bool OLP_GUI_Settings::isAlwaysOnTop() const
{
    QMutexLocker lock(&g_settingsMutex);
    return valueLocked(globalKey("/AlwaysOnTop"), true).toBool();
}

void OLP_GUI_Settings::setAlwaysOnTop(bool on)
{
    QMutexLocker lock(&g_settingsMutex);
    setValueLocked(globalKey("/AlwaysOnTop"), on);
}

bool OLP_GUI_Settings::isDemoCamera() const
{
    QMutexLocker lock(&g_settingsMutex);
    return valueLocked(globalKey("/DemoCamera"), false).toBool();
}

void OLP_GUI_Settings::setDemoCamera(bool on)
{
    QMutexLocker lock(&g_settingsMutex);
    setValueLocked(globalKey("/DemoCamera"), on);
}

QString OLP_GUI_Settings::tcpServerAddress() const
{
    QMutexLocker lock(&g_settingsMutex);
    return valueLocked(globalKey("/TcpServerAddress"), QString()).toString();
}

bool OLP_GUI_Settings::isAutoUpdates() const
{
    QMutexLocker lock(&g_settingsMutex);
    return valueLocked(globalKey("/AutoUpdates"), false).toBool();
}

void OLP_GUI_Settings::setAutoUpdates(bool on)
{
    QMutexLocker lock(&g_settingsMutex);
    setValueLocked(globalKey("/AutoUpdates"), on);
}

bool OLP_GUI_Settings::isUnitFeet() const
{
    QMutexLocker lock(&g_settingsMutex);
    return valueLocked(globalKey("/IsUnitFeet"), false).toBool();
}

void OLP_GUI_Settings::setIsUnitFeet(bool feet)
{
    QMutexLocker lock(&g_settingsMutex);
    setValueLocked(globalKey("/IsUnitFeet"), feet);
}

OLP_Logic_FolderSettingsRecord OLP_GUI_Settings::folderSettings() const
{
    QMutexLocker lock(&g_settingsMutex);
    const QString group = productGroupLocked() + QLatin1String(kFolderSettings);
    OLP_Logic_FolderSettingsRecord record;
    record.dngFolder = valueLocked(group + QStringLiteral("DngPictureFolder")).toString();
    record.jpgFolder = valueLocked(group + QStringLiteral("JpgPictureFolder")).toString();
    record.pictureName = valueLocked(group + QStringLiteral("PictureFileName")).toString();
    bool ok = false;
    const int number = valueLocked(group + QStringLiteral("PictureNumber")).toInt(&ok);
    // Picture numbers start at 1; anything else would give names like "000-5".
    record.pictureNumber = ok && number >= 1 ? number : 1;
    return record;
}

void OLP_GUI_Settings::setFolderSettings(const OLP_Logic_FolderSettingsRecord& record)
{
    QMutexLocker lock(&g_settingsMutex);
    const QString group = productGroupLocked() + QLatin1String(kFolderSettings);
    setValueLocked(group + QStringLiteral("DngPictureFolder"), record.dngFolder);
    setValueLocked(group + QStringLiteral("JpgPictureFolder"), record.jpgFolder);
    setValueLocked(group + QStringLiteral("PictureFileName"), record.pictureName);
    setValueLocked(group + QStringLiteral("PictureNumber"), record.pictureNumber);
}

bool OLP_GUI_Settings::isMinimalControlGUI() const
{
    QMutexLocker lock(&g_settingsMutex);
    return valueLocked(productGroupLocked() + QStringLiteral("/IsMinimalControlGUI"), false).toBool();
}

void OLP_GUI_Settings::setIsMinimalControlGUI(bool minimal)
{
    QMutexLocker lock(&g_settingsMutex);
    setValueLocked(productGroupLocked() + QStringLiteral("/IsMinimalControlGUI"), minimal);
}

QRect OLP_GUI_Settings::windowPositionLocked(const QString& name, bool* ok) const
{
    bool allOk = !name.isEmpty();
    int values[4] = {0, 0, 0, 0};
    const char* const subKeys[4] = {"/x", "/y", "/w", "/h"};
    const QString group = productGroupLocked() + QLatin1String(kWindowPositions) + name;
    for (int i = 0; i < 4 && allOk; ++i) {
        bool converted = false;
        values[i] = valueLocked(group + QLatin1String(subKeys[i])).toInt(&converted);
        allOk = converted;
    }
    if (ok) {
        *ok = allOk;
    }
    return allOk ? QRect(values[0], values[1], values[2], values[3]) : QRect();
}

QRect OLP_GUI_Settings::windowPosition(const QString& name, bool* ok) const
{
    QMutexLocker lock(&g_settingsMutex);
    return windowPositionLocked(name, ok);
}

void OLP_GUI_Settings::setWindowPosition(const QString& name, const QRect& rect)
{
    if (name.isEmpty()) {
        return;
    }
    QMutexLocker lock(&g_settingsMutex);
    const QString group = productGroupLocked() + QLatin1String(kWindowPositions) + name;
    setValueLocked(group + QStringLiteral("/x"), rect.x());
    setValueLocked(group + QStringLiteral("/y"), rect.y());
    setValueLocked(group + QStringLiteral("/w"), rect.width());
    setValueLocked(group + QStringLiteral("/h"), rect.height());
}

std::optional<QRect> OLP_GUI_Settings::restoredWindowPosition(const QString& name,
                                                              const QList<QRect>& availableAreas) const
{
    bool ok = false;
    const QRect stored = windowPosition(name, &ok);
    if (!ok) {
        return std::nullopt;
    }
    return restoredGeometry(stored, availableAreas);
}
