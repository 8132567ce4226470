#include "OLP_Logic_FolderSettings.h"

#include <QDir>
#include <QFileInfo>
#include <limits>

#include "OLP_Commu_ProductIds.h"
#include "OLP_Debug.h"
#include "OLP_Platform_Base.h"

namespace {

constexpr eDebugFlag kFolderSettingsFlag = 0x00000800;

bool pathIsTaken(const QString& path)
{
    const QFileInfo info(path);
    // A dangling symbolic link counts as taken: a new file cannot be created there.
    return info.exists() || info.isSymLink();
}

// Control characters of a refused name would break the log line apart.
QString printableForLog(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control) {
            result += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        } else {
            result += c;
        }
    }
    return result;
}

bool folderExists(const QString& folder)
{
    // An empty folder text would put the picture at the root.
    return !folder.isEmpty() && QDir(folder).exists();
}

}  // namespace

OLP_Logic_FolderSettings::OLP_Logic_FolderSettings()
    : QObject(nullptr), m_dngPath(defaultPictureFolder()), m_jpgPath(defaultPictureFolder())
{}

QString OLP_Logic_FolderSettings::defaultPictureFolder()
{
    static const QString folder = defaultFolderFor(platform()->picturesLocation());
    return folder;
}

QString OLP_Logic_FolderSettings::defaultFolderFor(const QString& picturesLocation)
{
    // Without a pictures location the pictures would go to the root folder.
    return storedFolder(picturesLocation.isEmpty() ? QDir::homePath() : picturesLocation);
}

QString OLP_Logic_FolderSettings::defaultPictureName()
{
    return QStringLiteral("Picture");
}

QString OLP_Logic_FolderSettings::numberText(int number)
{
    return QStringLiteral("%1").arg(number, 5, 10, QLatin1Char('0'));
}

QString OLP_Logic_FolderSettings::cameraExtension(const QString& cameraFileName)
{
    const int dot = cameraFileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : cameraFileName.mid(dot + 1);
}

OLP_Logic_FolderSettings::ePictureKind OLP_Logic_FolderSettings::pictureKind(const QString& cameraFileName)
{
    const QString extension = cameraExtension(cameraFileName);
    if (extension.compare(QLatin1String("DNG"), Qt::CaseInsensitive) == 0) {
        return ePictureKind::Dng;
    }
    if (extension.compare(QLatin1String("JPG"), Qt::CaseInsensitive) == 0) {
        return ePictureKind::Jpg;
    }
    return ePictureKind::Broken;
}

bool OLP_Logic_FolderSettings::isPairFormat(int fileFormat)
{
    return fileFormat == 1 || fileFormat == 2;
}

QString OLP_Logic_FolderSettings::uniquePath(const QString& path, const QString& cameraExtension)
{
    if (!pathIsTaken(path)) {
        return path;
    }
    if (path.size() <= 4) {
        debugPrintf(0, "%s - Exception! saveFileName has unexpected length: %s", "OLP_Logic_FolderSettings::uniquePath",
                    qUtf8Printable(path));
        return path;
    }
    const QString base = path.left(path.size() - 4);
    for (int i = 1; i < std::numeric_limits<int>::max(); ++i) {
        const QString candidate = base + QLatin1Char('_') + QString::number(i) + QLatin1Char('.') + cameraExtension;
        if (!pathIsTaken(candidate)) {
            return candidate;
        }
    }
    return path;
}

bool OLP_Logic_FolderSettings::isAcceptablePictureName(const QString& name)
{
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control) {
            return false;
        }
    }
    return true;
}

void OLP_Logic_FolderSettings::logRefusedName(const char* caller, const QString& name, const QString& kept)
{
    debugPrintf(0, "%s - picture name \"%s\" refused, keeping \"%s\"", caller, qUtf8Printable(printableForLog(name)),
                qUtf8Printable(kept));
}

QString OLP_Logic_FolderSettings::storedFolder(const QString& path)
{
    QString stored = QDir::fromNativeSeparators(path);
    stored.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return stored;
}

void OLP_Logic_FolderSettings::updateExampleLocked()
{
    const QString extension = m_exampleIsDng ? QStringLiteral(".DNG") : QStringLiteral(".JPG");
    m_pictureExampleFileName = (m_exampleIsDng ? m_dngPath : m_jpgPath) + QLatin1Char('/') + m_pictureName +
                               numberText(m_pictureNumber) + extension;
}

void OLP_Logic_FolderSettings::load(const OLP_Logic_FolderSettingsRecord& record)
{
    bool changed = false;
    {
        QMutexLocker lock(&m_mutex);
        QString dng = storedFolder(record.dngFolder);
        QString jpg = storedFolder(record.jpgFolder);
        QString name = record.pictureName;
        if (dng.isEmpty()) {
            dng = defaultPictureFolder();
        }
        if (jpg.isEmpty()) {
            jpg = defaultPictureFolder();
        }
        if (!isAcceptablePictureName(name)) {
            const QString kept = m_pictureName.isEmpty() ? defaultPictureName() : m_pictureName;
            logRefusedName("OLP_Logic_FolderSettings::load", name, kept);
            name = kept;
        }
        if (name.isEmpty()) {
            name = defaultPictureName();
        }
        int number = m_pictureNumber;
        if (record.pictureNumber >= 1) {
            number = record.pictureNumber;
        } else {
            debugPrintf(0, "%s - picture number %d refused, keeping %d", "OLP_Logic_FolderSettings::load",
                        record.pictureNumber, m_pictureNumber);
        }
        changed = dng != m_dngPath || jpg != m_jpgPath || name != m_pictureName || number != m_pictureNumber ||
                  m_pictureExampleFileName.isEmpty();
        m_dngPath = dng;
        m_jpgPath = jpg;
        m_pictureName = name;
        m_pictureNumber = number;
        if (changed) {
            updateExampleLocked();
        }
    }
    if (changed) {
        emit signalPictureExampleChanged();
    }
    if (isDebugEnabled(kFolderSettingsFlag)) {
        dump(QStringLiteral("OLP_Logic_FolderSettings::load"));
    }
}

OLP_Logic_FolderSettingsRecord OLP_Logic_FolderSettings::record() const
{
    QMutexLocker lock(&m_mutex);
    OLP_Logic_FolderSettingsRecord result;
    result.dngFolder = m_dngPath;
    result.jpgFolder = m_jpgPath;
    result.pictureName = m_pictureName;
    result.pictureNumber = m_pictureNumber;
    return result;
}

QString OLP_Logic_FolderSettings::dngPath() const
{
    QMutexLocker lock(&m_mutex);
    return QDir::toNativeSeparators(m_dngPath);
}

QString OLP_Logic_FolderSettings::jpgPath() const
{
    QMutexLocker lock(&m_mutex);
    return QDir::toNativeSeparators(m_jpgPath);
}

QString OLP_Logic_FolderSettings::pictureExampleFileName() const
{
    QMutexLocker lock(&m_mutex);
    return QDir::toNativeSeparators(m_pictureExampleFileName);
}

QString OLP_Logic_FolderSettings::pictureName() const
{
    QMutexLocker lock(&m_mutex);
    return m_pictureName;
}

int OLP_Logic_FolderSettings::pictureIndex() const
{
    QMutexLocker lock(&m_mutex);
    return m_pictureNumber;
}

bool OLP_Logic_FolderSettings::exampleIsDng() const
{
    QMutexLocker lock(&m_mutex);
    return m_exampleIsDng;
}

QString OLP_Logic_FolderSettings::pictureOrgFileName() const
{
    QMutexLocker lock(&m_mutex);
    return m_pictureOrgFileName;
}

void OLP_Logic_FolderSettings::setDngPath(const QString& path)
{
    {
        QMutexLocker lock(&m_mutex);
        const QString stored = storedFolder(path);
        if (stored == m_dngPath) {
            return;
        }
        m_dngPath = stored;
        updateExampleLocked();
    }
    emit signalPictureExampleChanged();
}

void OLP_Logic_FolderSettings::setJpgPath(const QString& path)
{
    {
        QMutexLocker lock(&m_mutex);
        const QString stored = storedFolder(path);
        if (stored == m_jpgPath) {
            return;
        }
        m_jpgPath = stored;
        updateExampleLocked();
    }
    emit signalPictureExampleChanged();
}

bool OLP_Logic_FolderSettings::setPictureName(const QString& name)
{
    {
        QMutexLocker lock(&m_mutex);
        if (!isAcceptablePictureName(name)) {
            logRefusedName("OLP_Logic_FolderSettings::setPictureName", name, m_pictureName);
            return false;
        }
        if (name == m_pictureName) {
            return true;
        }
        m_pictureName = name;
        updateExampleLocked();
    }
    emit signalPictureExampleChanged();
    return true;
}

bool OLP_Logic_FolderSettings::setPictureIndex(int number)
{
    {
        QMutexLocker lock(&m_mutex);
        if (number < 1) {
            debugPrintf(0, "%s - picture number %d refused, keeping %d", "OLP_Logic_FolderSettings::setPictureIndex",
                        number, m_pictureNumber);
            return false;
        }
        if (number == m_pictureNumber) {
            return true;
        }
        m_pictureNumber = number;
        updateExampleLocked();
    }
    emit signalPictureExampleChanged();
    return true;
}

void OLP_Logic_FolderSettings::setExampleIsDng(bool isDng)
{
    {
        QMutexLocker lock(&m_mutex);
        if (isDng == m_exampleIsDng) {
            return;
        }
        m_exampleIsDng = isDng;
        updateExampleLocked();
    }
    emit signalPictureExampleChanged();
}

void OLP_Logic_FolderSettings::setPictureOrgFileName(const QString& name)
{
    QMutexLocker lock(&m_mutex);
    m_pictureOrgFileName = name;
}

void OLP_Logic_FolderSettings::incrementPictureNumber()
{
    {
        QMutexLocker lock(&m_mutex);
        if (m_pictureNumber < std::numeric_limits<int>::max()) {
            ++m_pictureNumber;
        }
        updateExampleLocked();
    }
    emit signalPictureExampleChanged();
}

void OLP_Logic_FolderSettings::dump(const QString& caller) const
{
    const char* const name = "OLP_Logic_FolderSettings::dump";
    OLP_Logic_FolderSettingsRecord values;
    QString orgFileName;
    QString example;
    {
        QMutexLocker lock(&m_mutex);
        values.dngFolder = m_dngPath;
        values.jpgFolder = m_jpgPath;
        values.pictureName = m_pictureName;
        values.pictureNumber = m_pictureNumber;
        orgFileName = m_pictureOrgFileName;
        example = m_pictureExampleFileName;
    }
    debugPrintf(0, "%s for %s :", name, qUtf8Printable(caller));
    debugPrintf(0, "%s - dngPictureFolder       = \"%s\"", name, qUtf8Printable(values.dngFolder));
    debugPrintf(0, "%s - jpgPictureFolder       = \"%s\"", name, qUtf8Printable(values.jpgFolder));
    debugPrintf(0, "%s - pictureOrgFileName     = \"%s\"", name, qUtf8Printable(orgFileName));
    debugPrintf(0, "%s - pictureNewFileName     = \"%s\"", name, qUtf8Printable(values.pictureName));
    debugPrintf(0, "%s - pictureExampleFileName = \"%s\"", name, qUtf8Printable(example));
    debugPrintf(0, "%s - pictureNumber          = %d", name, values.pictureNumber);
}

OLP_Logic_FolderSettings::PictureFile OLP_Logic_FolderSettings::nextPictureFile(const QString& cameraFileName,
                                                                                int fileFormat, quint32 productId)
{
    const char* const name = "OLP_Logic_FolderSettings::nextPictureFile";
    PictureFile result;
    result.kind = pictureKind(cameraFileName);
    result.cameraExtension = cameraExtension(cameraFileName);
    bool exampleChanged = false;
    {
        QMutexLocker lock(&m_mutex);
        m_pictureOrgFileName = cameraFileName;
        result.number = m_pictureNumber;

        QString folder;
        QString newName;
        switch (result.kind) {
            case ePictureKind::Dng:
                folder = m_dngPath;
                newName = m_pictureName + numberText(m_pictureNumber) + QStringLiteral(".DNG");
                break;
            case ePictureKind::Jpg:
                folder = m_jpgPath;
                newName = m_pictureName + numberText(m_pictureNumber) + QStringLiteral(".JPG");
                break;
            case ePictureKind::Broken:
                debugPrintf(0, "%s - Exception! File not JPG or DNG: %s", name, qUtf8Printable(cameraFileName));
                folder = defaultPictureFolder();
                newName = QStringLiteral("_Broken_Data_Image");
                break;
        }

        // Both files of a DNG+JPG pair carry the same number: the one that comes
        // first from the camera leaves the number alone.
        const bool firstOfPair =
            isPairFormat(fileFormat) &&
            (productId == ProductIdPelvo ? result.kind == ePictureKind::Jpg : result.kind == ePictureKind::Dng);
        if (result.kind != ePictureKind::Broken && !firstOfPair && m_pictureNumber < kLastAdvancingNumber) {
            ++m_pictureNumber;
            result.numberAdvanced = true;
            exampleChanged = true;
        }

        if (!folderExists(folder) && result.kind != ePictureKind::Broken) {
            const QString fallback = defaultPictureFolder();
            // Logged unconditionally: the user should be able to find out why pictures moved.
            debugPrintf(0, "%s - folder \"%s\" does not exist, pictures go to \"%s\" from now on", name,
                        qUtf8Printable(folder), qUtf8Printable(fallback));
            if (result.kind == ePictureKind::Dng) {
                m_dngPath = fallback;
            } else {
                m_jpgPath = fallback;
            }
            folder = fallback;
            result.folderReplaced = true;
            exampleChanged = true;
        }

        const QString path = folder + QLatin1Char('/') + newName;
        const bool isDng = path.endsWith(QLatin1String(".DNG"));
        if (isDng != m_exampleIsDng) {
            m_exampleIsDng = isDng;
            exampleChanged = true;
        }
        if (exampleChanged) {
            updateExampleLocked();
        }
        result.path = uniquePath(path, result.cameraExtension);
    }
    if (exampleChanged) {
        emit signalPictureExampleChanged();
    }
    return result;
}
