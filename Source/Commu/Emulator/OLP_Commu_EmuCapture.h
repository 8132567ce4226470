#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QVector>
#include <deque>
#include <functional>
#include <memory>

#include "OLP_Commu_EmuObject.h"
#include "OLP_Commu_EmuProfile.h"

// The pictures the emulated camera takes: real files (a JPG with an Exif
// orientation entry, a TIFF-based DNG with an orientation tag, a preview and
// the raw image), their thumbnails and ObjectInfo datasets, and the queue of
// new objects. Every file is announced with RequestObjectTransfer and handed
// out under the new-object handle, oldest first, until the host acknowledges
// it with ObjectTransferReady; it stays on the card under its own handle.
//
// Which release takes how many pictures in which files follows the camera's
// own settings: file format and bracketing from the device properties or the
// settings structure, the burst length of continuous shooting from options().
//
// Not thread-safe: the camera holds its mutex around every call.
class OLP_Commu_EmuCapture
{
public:
    enum eFiles
    {
        DngOnly,
        JpgOnly,
        DngAndJpg
    };

    struct Options
    {
        // Releases take pictures only when enabled, so tests that release for
        // other reasons see no picture traffic.
        bool enabled = false;
        // Bytes of each file, approximately: the structures plus the image data.
        quint64 pictureSize = 256 * 1024;
        // Exif / TIFF orientation 1 to 8; 0 writes no orientation entry.
        int orientation = 1;
        bool bigEndian = false;  // byte order of the TIFF structures
        int continuousShots = 3;
        bool dngFirst = true;  // order of the two files of a DNG + JPG shot
        // Object property 0xD800 (orientation) with operations 0x9801 and 0x9803;
        // read by the DeviceInfo, so set it before the host opens the session.
        bool orientationProperty = false;
        // Faults. previewMissing: thumbnail type 1 is announced with size 0 (the
        // camera has not made it yet). reportedSize: ObjectInfo claims this size
        // (0: the true one). stopDataAfter: a read of the picture that reaches
        // past this byte ends its data phase there. holdDataAfter: a read that
        // reaches past this byte gets no answer at all; the host waits, as on a
        // cable being pulled. -1: never.
        bool previewMissing = false;
        quint32 reportedSize = 0;
        qint64 stopDataAfter = -1;
        qint64 holdDataAfter = -1;
        // As a standard PTP camera: ObjectAdded for each new file and
        // CaptureComplete after each release, besides the vendor's request to
        // transfer the file.
        bool standardEvents = false;

        static Options forProduct(quint16 productId);
    };

    struct Picture
    {
        quint32 handle = 0;  // on the card; bits 0-3: 2 for a DNG, 1 otherwise
        QString fileName;
        quint16 format = 0;
        quint32 sequenceNumber = 0;  // files of this release still to come, this one included
        quint32 reportedSize = 0;
        QString captureDate;  // PTP date and time, "YYYYMMDDThhmmss.s"
        int orientation = 0;
        bool previewMissing = false;
        qint64 stopDataAfter = -1;
        qint64 holdDataAfter = -1;
        std::shared_ptr<const OLP_Commu_EmuObject> object;
        QByteArray thumbnail;  // thumbnail type 0
        QByteArray preview;    // thumbnail types 1 and 2

        QByteArray bytes() const;
    };

    OLP_Commu_EmuCapture(quint16 productId, const QString& model);

    Options& options() { return m_options; }
    const Options& options() const { return m_options; }

    // What the camera's settings say about the next release.
    static eFiles filesOf(const OLP_Commu_EmuProfile& profile);
    static int bracketShotsOf(const OLP_Commu_EmuProfile& profile);
    // Pictures taken by an operation (code and parameters as the host sent them).
    static int shotsForRelease(quint16 code, const QVector<quint32>& params, int bracketShots, int continuousShots);

    // Takes shots pictures, each in the given files; returns the new files in
    // the order they are announced.
    QList<Picture> shoot(int shots, eFiles files);
    // A new object the camera made itself (another file type, broken data).
    Picture announce(const QString& fileName, const QByteArray& bytes, quint32 sequenceNumber);

    // The oldest file not yet acknowledged, or null.
    const Picture* pending() const;
    int pendingCount() const { return static_cast<int>(m_pending.size()); }
    // Drops the oldest new file; false when there is none.
    bool acknowledge();
    const Picture* find(quint32 handle) const;
    QList<Picture> pictures() const { return m_pictures; }

    // The ObjectInfo dataset of a picture, the same when it is new and later on the card.
    static QByteArray objectInfo(const Picture& picture, int thumbType);
    static const QByteArray* thumbnailOf(const Picture& picture, int thumbType);

    // The files themselves, for the camera and for checking what arrived.
    static QByteArray jpegImage(int width, int height, int shade);
    static QByteArray jpegFile(const QByteArray& jpeg, int orientation, bool bigEndian, const QString& model);
    // The DNG up to its raw image data (preview included); rawBytes receives
    // the size of the raw image that follows.
    static QByteArray dngHead(quint64 pictureSize, int orientation, bool bigEndian, const QString& model, int shade,
                              quint64* rawBytes);

private:
    Picture makePicture(bool dng, const QString& baseName, int shade);
    void add(const Picture& picture);
    // The bytes made by make() for key, made once: pictures of one shade
    // share their images, so a long session keeps the card's list, not a copy
    // of every picture.
    QByteArray shared(const QString& key, const std::function<QByteArray()>& make);

    const QString m_model;
    Options m_options;
    QList<Picture> m_pictures;
    QHash<quint32, int> m_index;  // handle -> position in m_pictures
    std::deque<quint32> m_pending;
    QHash<QString, QByteArray> m_shared;
    quint32 m_nextFileNumber = 1000001;
    quint32 m_nextHandle = 1;
};
