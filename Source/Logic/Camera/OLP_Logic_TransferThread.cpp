#include "OLP_Logic_TransferThread.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QRandomGenerator>
#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <limits>
#include <mutex>
#include <thread>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

#include "OLP_Commu_CameraAccess_Base.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Commu_PtpCodes.h"
#include "OLP_Commu_PtpReader.h"
#include "OLP_Debug.h"
#include "OLP_Logic_Camera.h"
#include "OLP_Logic_CameraSettingsBase.h"
#include "OLP_Logic_DeviceInfo.h"
#include "OLP_Logic_FolderSettings.h"
#include "OLP_Platform_Base.h"

namespace {

constexpr eDebugFlag kThreadFlag = 0x00000100;
constexpr eDebugFlag kTransferFlag = 0x00002000;
const char* const kRun = "OLP_Logic_TransferThread::run";
// Lines of a picture shown when the transfer is dumped: the whole picture
// would flood the log.
constexpr quint64 kImageDumpLines = 64;

QString translated(const char* text)
{
    return QCoreApplication::translate("OLP_Logic_TransferThread", text);
}

bool pathIsTaken(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

void dump(const char* callerText, const char* label, const quint8* data, quint64 size, quint64 maxLines)
{
    if (isDebugEnabled(kTransferFlag)) {
        dumpBuffer(QLatin1String(kRun) + QLatin1String(callerText), QLatin1String(label), data, size, maxLines, 16);
    }
}

// Memory for a picture or a part of it. A whole picture asks for large pages
// where the system has them: a fresh buffer of 80 MB in small pages costs
// twenty thousand page faults, more time than the transfer itself.
class PictureBuffer
{
public:
    explicit PictureBuffer(quint32 size)
    {
        constexpr size_t LargePage = 2u * 1024u * 1024u;
        if (size >= 4 * LargePage) {
            const size_t rounded = (size_t(size) + LargePage - 1) / LargePage * LargePage;
            m_data = static_cast<quint8*>(std::aligned_alloc(LargePage, rounded));
#ifdef MADV_HUGEPAGE
            if (m_data) {
                madvise(m_data, rounded, MADV_HUGEPAGE);
            }
#endif
        } else {
            m_data = static_cast<quint8*>(std::malloc(size));
        }
    }
    ~PictureBuffer()
    {
        std::free(m_data);
    }
    PictureBuffer(const PictureBuffer&) = delete;
    PictureBuffer& operator=(const PictureBuffer&) = delete;

    explicit operator bool() const
    {
        return m_data != nullptr;
    }
    quint8* get() const
    {
        return m_data;
    }

private:
    quint8* m_data = nullptr;
};

}  // namespace

OLP_Logic_TransferThread::OLP_Logic_TransferThread(OLP_Logic_Camera* camera, bool useObjectProps, int fileFormat)
    : QThread(nullptr), m_camera(camera), m_useObjectProps(useObjectProps), m_fileFormat(fileFormat)
{
    debugPrintf(kTransferFlag, "%s - created in thread 0x%lx", "OLP_Logic_TransferThread::OLP_Logic_TransferThread",
                currentThreadIdForLog());
    // Decided here, in the camera's own thread, where the DeviceInfo lives.
    const OLP_Logic_DeviceInfo* info = camera ? camera->deviceInfo() : nullptr;
    m_usePartialObject = info && info->isOperationSupported(PTP::OpGetPartialObject);
}

OLP_Logic_TransferThread::~OLP_Logic_TransferThread()
{
    debugPrintf(kTransferFlag, "%s - deleted automatically in thread 0x%lx",
                "OLP_Logic_TransferThread::~OLP_Logic_TransferThread", currentThreadIdForLog());
}

// ---- datasets -----------------------------------------------------------------------------------

OLP_Logic_TransferThread::ObjectInfo OLP_Logic_TransferThread::parseObjectInfo(const quint8* data, int size)
{
    ObjectInfo info;
    if (!data || size <= 0) {
        return info;
    }
    const quint64 n = static_cast<quint64>(size);
    info.compressedSize = OLP_Commu_PtpReader::readU32(data, n, 8);
    info.thumbFormat = OLP_Commu_PtpReader::readU16(data, n, 12);
    info.thumbSize = OLP_Commu_PtpReader::readU32(data, n, 14);
    info.sequenceNumber = OLP_Commu_PtpReader::readU32(data, n, 48);
    // The count byte may claim up to 255 characters; only what arrived is read.
    const int count = OLP_Commu_PtpReader::readU8(data, n, 52);
    for (int i = 0; i < count; ++i) {
        const quint64 offset = 53 + 2 * static_cast<quint64>(i);
        if (!OLP_Commu_PtpReader::fits(n, offset, 2)) {
            break;
        }
        const quint16 unit = OLP_Commu_PtpReader::readU16(data, n, offset);
        if (unit == 0) {
            break;
        }
        info.fileName.append(QChar(unit));
    }
    return info;
}

int OLP_Logic_TransferThread::exifOrientation(const QByteArray& prefix, bool* found)
{
    if (found) {
        *found = false;
    }
    const QByteArray data = prefix.left(kExifPrefixSize);
    auto byteAt = [&data](int i) { return i < data.size() ? data.at(i) : '\0'; };
    // "MM" at the start of a TIFF file or of the TIFF block behind a JPEG's Exif header.
    const bool bigEndian = (byteAt(0) == 'M' && byteAt(1) == 'M') || (byteAt(12) == 'M' && byteAt(13) == 'M');
    static const QByteArray bigEndianEntry = QByteArray::fromHex("0112000300000001");
    static const QByteArray littleEndianEntry = QByteArray::fromHex("1201030001000000");
    const int index = data.indexOf(bigEndian ? bigEndianEntry : littleEndianEntry);
    if (index < 0) {
        return 0;
    }
    // The value follows the entry; an entry at the very end has its value outside.
    const int valueAt = index + (bigEndian ? 9 : 8);
    if (valueAt >= data.size()) {
        return 0;
    }
    if (found) {
        *found = true;
    }
    return static_cast<qint8>(data.at(valueAt));
}

// ---- files --------------------------------------------------------------------------------------

QString OLP_Logic_TransferThread::writeNewFile(const QString& path, const QString& cameraExtension, const Filler& fill,
                                               QString* error, eFill* outcome)
{
    if (outcome) {
        *outcome = FileFailed;
    }
    const QFileInfo target(path);
    QFile temp;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp.setFileName(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QLatin1Char('-') +
                         QString::number(QRandomGenerator::global()->generate(), 16) + QStringLiteral(".part"));
        if (temp.open(QIODevice::WriteOnly | QIODevice::NewOnly) || !pathIsTaken(temp.fileName())) {
            break;
        }
    }
    if (!temp.isOpen()) {
        if (error) {
            *error = temp.errorString();
        }
        return QString();
    }
    const eFill filled = fill(temp);
    const bool flushed = filled == Filled && temp.flush();
    temp.close();
    if (outcome) {
        *outcome = filled;
    }
    if (!flushed || temp.error() != QFileDevice::NoError) {
        if (outcome && filled == Filled) {
            *outcome = FileFailed;
        }
        if (error) {
            *error = temp.errorString();
        }
        temp.remove();
        return QString();
    }
    // Renaming never replaces a file; a name that appeared since it was chosen
    // gives way to the next free one.
    QString candidate = path;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        QFile renamer(temp.fileName());
        if (renamer.rename(candidate)) {
            return candidate;
        }
        if (error) {
            *error = renamer.errorString();
        }
        if (!pathIsTaken(candidate)) {
            break;
        }
        const QString next = OLP_Logic_FolderSettings::uniquePath(path, cameraExtension);
        if (next == candidate) {
            break;
        }
        candidate = next;
    }
    if (outcome) {
        *outcome = FileFailed;
    }
    QFile::remove(temp.fileName());
    return QString();
}

QString OLP_Logic_TransferThread::writeNewFile(const QString& path, const QString& cameraExtension, const char* data,
                                               qint64 size, QString* error)
{
    return writeNewFile(
        path, cameraExtension, [data, size](QFile& file) { return writeAll(file, data, size) ? Filled : FileFailed; },
        error);
}

bool OLP_Logic_TransferThread::writeAll(QFile& file, const char* data, qint64 size)
{
    const qint64 written = file.write(data, size);
    if (written != size) {
        debugPrintf(0, "%s - Error! Written size %ld differs from buffer size %ld", kRun, static_cast<long>(written),
                    static_cast<long>(size));
        return false;
    }
    return true;
}

QString OLP_Logic_TransferThread::savePicture(const QString& path, const QString& cameraExtension, const Filler& fill)
{
    QString error;
    eFill outcome = FileFailed;
    QString written = writeNewFile(path, cameraExtension, fill, &error, &outcome);
    if (!written.isEmpty()) {
        debugPrintf(kTransferFlag, "%s - saved %s", kRun, qUtf8Printable(written));
        return written;
    }
    if (outcome == SourceFailed) {
        return QString();
    }
    debugPrintf(0, "%s - Error! Cannot write %s: %s", kRun, qUtf8Printable(path), qUtf8Printable(error));

    const QFileInfo target(path);
    const QString fallbackFolder = OLP_Logic_FolderSettings::defaultPictureFolder();
    if (!fallbackFolder.isEmpty() && QDir(fallbackFolder) != target.absoluteDir()) {
        const QString fallback = OLP_Logic_FolderSettings::uniquePath(
            fallbackFolder + QLatin1Char('/') + target.fileName(), cameraExtension);
        written = writeNewFile(fallback, cameraExtension, fill, &error, &outcome);
        if (!written.isEmpty()) {
            debugPrintf(0, "%s - picture saved as %s instead", kRun, qUtf8Printable(written));
            warn(translated("The picture could not be saved in %1 and was saved as %2 instead.")
                     .arg(QDir::toNativeSeparators(target.absolutePath()), QDir::toNativeSeparators(written)));
            return written;
        }
        if (outcome == SourceFailed) {
            return QString();
        }
        debugPrintf(0, "%s - Error! Cannot write %s: %s", kRun, qUtf8Printable(fallback), qUtf8Printable(error));
    }
    debugPrintf(0, "%s - Error! Picture %s was not saved", kRun, qUtf8Printable(path));
    warn(translated("The picture %1 could not be saved: %2").arg(QDir::toNativeSeparators(path), error));
    return QString();
}

OLP_Logic_TransferThread::eReceive OLP_Logic_TransferThread::receivePicture(quint32 size, const Sink& sink)
{
    if (m_usePartialObject && size > kChunkSize) {
        return receiveInParts(size, sink);
    }
    OLP_Commu_CameraAccess_Base* access = m_camera->cameraAccess();
    PictureBuffer buffer(size);
    if (!buffer) {
        return NoMemory;
    }
    quint32 received = 0;
    const bool read = m_usePartialObject ? access->getPartialObject(buffer.get(), size, 0, kNewObjectHandle, &received)
                                         : access->getObject(buffer.get(), size, kNewObjectHandle, &received);
    dump(" calls getObject:", "imageBuffer", buffer.get(), size, kImageDumpLines);
    if (!read || received != size) {
        debugPrintf(0, "%s - Error! Reading picture failed at byte %u of %u (%u of %u bytes arrived)", kRun, 0u, size,
                    received, size);
        return ReadFailed;
    }
    return sink(buffer.get(), size) ? Received : Stopped;
}

quint32 OLP_Logic_TransferThread::partSize(quint32 offset, quint32 size)
{
    if (offset >= size) {
        return 0;
    }
    return std::min(offset == 0 ? kFirstPartSize : kChunkSize, size - offset);
}

OLP_Logic_TransferThread::eReceive OLP_Logic_TransferThread::receiveInParts(quint32 size, const Sink& sink)
{
    // Two parts in flight: while a helper thread hands one to the sink (the
    // disk), the next is read from the camera, so the transfer takes about
    // as long as the slower of the two instead of both together. A small first
    // part lets the disk start soon.
    OLP_Commu_CameraAccess_Base* access = m_camera->cameraAccess();
    PictureBuffer first(kChunkSize);
    PictureBuffer second(kChunkSize);
    if (!first || !second) {
        return NoMemory;
    }
    quint8* const parts[2] = {first.get(), second.get()};

    // Guards waiting, readDone and sinkFailed; changed wakes both sides.
    std::mutex mutex;
    std::condition_variable changed;
    quint32 waiting[2] = {0, 0};  // bytes of each part not yet handed to the sink; 0: free
    bool readDone = false;
    bool sinkFailed = false;

    std::thread writer([&] {
        for (int part = 0;; part ^= 1) {
            quint32 bytes = 0;
            {
                std::unique_lock<std::mutex> lock(mutex);
                changed.wait(lock, [&] { return waiting[part] > 0 || readDone; });
                bytes = waiting[part];
            }
            if (bytes == 0) {
                return;
            }
            const bool taken = sink(parts[part], bytes);
            {
                std::lock_guard<std::mutex> lock(mutex);
                waiting[part] = 0;
                sinkFailed = !taken;
            }
            changed.notify_all();
            if (!taken) {
                return;
            }
        }
    });

    eReceive result = Received;
    int part = 0;
    for (quint32 offset = 0; offset < size; part ^= 1) {
        {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [&] { return waiting[part] == 0 || sinkFailed; });
            if (sinkFailed) {
                result = Stopped;
                break;
            }
        }
        const quint32 want = partSize(offset, size);
        quint32 received = 0;
        const bool read = access->getPartialObject(parts[part], want, offset, kNewObjectHandle, &received);
        if (offset == 0) {
            dump(" calls getObject:", "imageBuffer", parts[part], want, kImageDumpLines);
        }
        if (!read || received != want) {
            debugPrintf(0, "%s - Error! Reading picture failed at byte %u of %u (%u of %u bytes arrived)", kRun, offset,
                        size, received, want);
            result = ReadFailed;
            break;
        }
        {
            std::lock_guard<std::mutex> lock(mutex);
            waiting[part] = want;
        }
        changed.notify_all();
        offset += want;
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        readDone = true;
    }
    changed.notify_all();
    writer.join();
    if (result == Received && sinkFailed) {
        result = Stopped;
    }
    return result;
}

void OLP_Logic_TransferThread::warn(const QString& text)
{
    m_camera->emitTransferWarning(text);
}

// ---- the transfer -------------------------------------------------------------------------------

void OLP_Logic_TransferThread::run()
{
    // Set when the thread no longer touches this object or the camera, after
    // the transfer lock is released (destroyed last, as declared first).
    struct Done
    {
        std::atomic<bool>& done;
        ~Done() { done.store(true, std::memory_order_release); }
    } markDone{m_done};
    debugPrintf(kTransferFlag, "%s - running in thread 0x%lx", kRun, currentThreadIdForLog());
    const bool complete =
        m_camera && m_camera->cameraAccess() && m_camera->cameraSettings() && m_camera->folderSettings();
    debugPrintf(kThreadFlag, "%s - before ASSERT in ", kRun);
    if (!complete) {
        debugPrintf(0, "%s - camera object without access, settings or folder settings", kRun);
        return;
    }
    debugPrintf(kThreadFlag, "%s - after ASSERT in ", kRun);

    quint32 token = 0;
    if (!platform()->beginTransferActivity(&token)) {
        return;
    }
    m_camera->incrementActiveTransfers();
    debugPrintf(kThreadFlag, "%s - Number of active threads = %d", kRun, m_camera->activeTransfers());

    QMutexLocker lock(m_camera->transferLock());
    transfer();
    m_camera->decrementActiveTransfers();
    debugPrintf(kThreadFlag, "%s - Number of active threads = %d", kRun, m_camera->activeTransfers());
    platform()->endTransferActivity(token);
}

void OLP_Logic_TransferThread::transfer()
{
    OLP_Commu_CameraAccess_Base* access = m_camera->cameraAccess();
    OLP_Logic_FolderSettings* folders = m_camera->folderSettings();
    const quint32 productId = m_camera->productId();

    if (m_camera->continuousStopPending() && m_camera->releaseCam(13)) {
        m_camera->setContinuousStopPending(false);
    }
    m_camera->setTransferInProgress(true);

    // Object information; Pelvo has its preview only a moment after the picture.
    quint8 infoBuffer[kObjectInfoSize];
    qint32 thumbType = productId == ProductIdPelvo ? 1 : 0;
    bool infoRead = access->getObjectInfo(infoBuffer, kObjectInfoSize, thumbType, kNewObjectHandle);
    ObjectInfo info = parseObjectInfo(infoBuffer, kObjectInfoSize);
    if (infoRead && info.thumbSize == 0 && thumbType != 0) {
        thumbType = 0;
        infoRead = access->getObjectInfo(infoBuffer, kObjectInfoSize, thumbType, kNewObjectHandle);
        info = parseObjectInfo(infoBuffer, kObjectInfoSize);
    }
    dump(" calls getObjectInfo:", "objectInfo", infoBuffer, kObjectInfoSize, 0);
    if (!infoRead) {
        debugPrintf(0, "%s - Error! The information of a new picture could not be read; it is not transferred", kRun);
        warn(
            translated("The camera announced a new picture, but its information could not be read. "
                       "The picture was not transferred."));
    }

    // The camera counts this picture among those still to come; 0 and 1 mean
    // it is the last one of its burst.
    m_camera->setRemainingToLoad(
        static_cast<int>(std::min<quint32>(info.sequenceNumber, std::numeric_limits<int>::max())));
    emit m_camera->signalRemainingToLoad(m_camera->remainingToLoad());

    if (folders->pictureName().isEmpty()) {
        folders->setPictureName(OLP_Logic_FolderSettings::defaultPictureName());
    }
    const int fileFormat = m_fileFormat;
    const bool twoFiles = OLP_Logic_FolderSettings::isPairFormat(fileFormat);

    if (infoRead) {
        // DNG, JPG or neither is decided once, from the camera's extension.
        const OLP_Logic_FolderSettings::PictureFile file =
            folders->nextPictureFile(info.fileName, fileFormat, productId);
        if (file.numberAdvanced) {
            m_camera->emitFileNameAndNumber();
        }
        if (m_camera->wantQuickView()) {
            if (!twoFiles) {
                m_camera->setQuickViewSkipNext(false);
            }
            if (!m_camera->quickViewSkipNext()) {
                if (info.thumbSize > kMaxThumbnailSize) {
                    debugPrintf(0, "%s - Error! Thumbnail of %u bytes refused", kRun, info.thumbSize);
                } else if (info.thumbSize > 0) {
                    QByteArray thumbnail(static_cast<int>(info.thumbSize), '\0');
                    quint32 received = 0;
                    if (access->getThumbnail(reinterpret_cast<quint8*>(thumbnail.data()), info.thumbSize, thumbType,
                                             kNewObjectHandle, &received)) {
                        thumbnail.truncate(static_cast<int>(received));
                        dump(" calls getThumbnail:", "thumbnailBuffer",
                             reinterpret_cast<const quint8*>(thumbnail.constData()),
                             static_cast<quint64>(thumbnail.size()), 0);
                        const int orientation =
                            readOrientation(file.kind == OLP_Logic_FolderSettings::ePictureKind::Jpg);
                        m_camera->emitQuickView(thumbnail, file.path, orientation);
                    }
                }
            }
            // With two files per shot only the first of each pair is shown.
            if (twoFiles) {
                m_camera->setQuickViewSkipNext(!m_camera->quickViewSkipNext());
            }
        }

        transferPicture(file, info.fileName, info.compressedSize);

        if (!twoFiles || file.kind == OLP_Logic_FolderSettings::ePictureKind::Dng) {
            m_camera->emitDngTransferDone();
        }
    } else {
        // Nothing to fetch, but the camera waits for the acknowledgement all the same.
        access->transferObjectReady();
        m_camera->transferDone();
        if (!twoFiles) {
            m_camera->emitDngTransferDone();
        }
    }

    const bool more = m_camera->remainingToLoad() > 1;
    m_camera->setTransferInProgress(more);
    m_camera->setBusy(more);
    if (!more) {
        emit m_camera->signalLoading(false);
        emit m_camera->signalRemainingToLoad(0);
    }
}

void OLP_Logic_TransferThread::transferPicture(const OLP_Logic_FolderSettings::PictureFile& file,
                                               const QString& cameraName, quint32 size)
{
    OLP_Commu_CameraAccess_Base* access = m_camera->cameraAccess();
    const bool broken = file.kind == OLP_Logic_FolderSettings::ePictureKind::Broken;
    auto acknowledge = [&] {
        access->transferObjectReady();
        m_camera->transferDone();
    };

    if (size == 0 || size > kMaxPictureSize) {
        debugPrintf(0, "%s - Error! Picture %s announced with %u bytes; not transferred", kRun,
                    qUtf8Printable(cameraName), size);
        if (!broken) {
            warn(translated("The picture %1 could not be transferred: the camera reports a size of %2 bytes.")
                     .arg(cameraName)
                     .arg(size));
        }
        acknowledge();
        return;
    }
    auto readFailed = [&](eReceive result) {
        if (result == NoMemory) {
            debugPrintf(0, "%s - Error! No memory for picture %s of %u bytes", kRun, qUtf8Printable(cameraName), size);
        } else {
            debugPrintf(0, "%s - Error! Reading picture %s failed; nothing written", kRun, qUtf8Printable(cameraName));
        }
        if (!broken) {
            warn(result == NoMemory
                     ? translated("The picture %1 could not be transferred: %2 bytes of memory are not available.")
                           .arg(cameraName)
                           .arg(size)
                     : translated("The picture %1 could not be read from the camera and was not saved.")
                           .arg(cameraName));
        }
    };

    if (broken) {
        // Fetched like a picture, never written.
        const eReceive result = receivePicture(size, [](const quint8*, quint32) { return true; });
        if (result != Received) {
            readFailed(result);
        }
        acknowledge();
        return;
    }

    if (!m_usePartialObject) {
        // The whole picture in memory: read, acknowledged, then written with one call.
        bool acknowledged = false;
        const eReceive result = receivePicture(size, [&](const quint8* data, quint32 n) {
            acknowledge();
            acknowledged = true;
            savePicture(file.path, file.cameraExtension, [data, n](QFile& out) {
                return writeAll(out, reinterpret_cast<const char*>(data), n) ? Filled : FileFailed;
            });
            return true;
        });
        if (!acknowledged) {
            acknowledge();
        }
        if (result != Received) {
            // Never written: a zero-filled buffer under a picture's name looks
            // like a picture and is none.
            readFailed(result);
        }
        return;
    }

    // Each part is written as it arrives; the camera keeps the picture until it
    // is acknowledged, so a second attempt in the default folder reads it again.
    eReceive result = Received;
    const Filler fill = [&](QFile& out) {
        result = receivePicture(size, [&out](const quint8* data, quint32 n) {
            return writeAll(out, reinterpret_cast<const char*>(data), n);
        });
        return result == Received ? Filled : (result == Stopped ? FileFailed : SourceFailed);
    };
    savePicture(file.path, file.cameraExtension, fill);
    acknowledge();
    if (result != Received && result != Stopped) {
        readFailed(result);
    }
}

int OLP_Logic_TransferThread::readOrientation(bool isJpg)
{
    OLP_Commu_CameraAccess_Base* access = m_camera->cameraAccess();
    if (m_useObjectProps && access->supportsObjectProp(isJpg ? kFormatJpg : kFormatDng, kOrientationProperty)) {
        quint8 value[2] = {0, 0};
        if (access->getObjectPropValue(value, sizeof value, kOrientationProperty, kNewObjectHandle)) {
            return OLP_Commu_PtpReader::readU16(value, sizeof value, 0);
        }
    }
    // Only the first bytes: GetObject would send the whole picture a second time.
    QByteArray prefix(kExifPrefixSize, 'X');
    quint8* data = reinterpret_cast<quint8*>(prefix.data());
    const bool read = m_usePartialObject ? access->getPartialObject(data, kExifPrefixSize, 0, kNewObjectHandle)
                                         : access->getObject(data, kExifPrefixSize, kNewObjectHandle);
    if (!read) {
        return 0;
    }
    bool found = false;
    const int orientation = exifOrientation(prefix, &found);
    if (found) {
        debugPrintf(kTransferFlag, "%s - parse Exif for orientation: %d", kRun, orientation);
    }
    return orientation;
}
