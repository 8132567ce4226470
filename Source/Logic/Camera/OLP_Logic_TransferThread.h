#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QThread>
#include <atomic>
#include <functional>

#include "OLP_Logic_FolderSettings.h"

class OLP_Logic_Camera;

// The transfer of one picture the camera announced: object information, file
// name, quick view (thumbnail and orientation), the picture itself, the
// acknowledgement to the camera, the file on disk and the camera object's
// transfer state.
//
// Thread: created and started by the camera object in the controller thread;
// run() works in the thread itself and holds the camera's transfer lock for
// the whole transfer, so pictures are saved one at a time. It reaches the
// camera object only through the operations the camera offers its transfer
// threads, and every signal goes out through the camera object (queued to the
// controller and the GUI). Owned by the camera object, which waits for it
// before deleting it; the camera is not owned. The static helpers are pure and
// may be called from any thread.
class OLP_Logic_TransferThread : public QThread
{
public:
    static constexpr quint32 kNewObjectHandle = 0x12345678;
    static constexpr int kObjectInfoSize = 154;
    static constexpr int kExifPrefixSize = 1024;
    static constexpr quint16 kOrientationProperty = 0xD800;
    static constexpr quint16 kFormatJpg = 0x3801;
    static constexpr quint16 kFormatDng = 0x3802;
    // No camera makes larger files; a size above these comes from a faulty
    // camera and must not take the machine's memory.
    static constexpr quint32 kMaxPictureSize = 1024u * 1024u * 1024u;
    static constexpr quint32 kMaxThumbnailSize = 64u * 1024u * 1024u;
    // Parts in which a picture is read when the camera offers GetPartialObject.
    static constexpr quint32 kChunkSize = 4u * 1024u * 1024u;
    // The first part is this small: the disk waits for it.
    static constexpr quint32 kFirstPartSize = 256u * 1024u;
    // The part of a picture of size bytes read next from offset: the first
    // at most kFirstPartSize, the others at most kChunkSize.
    static quint32 partSize(quint32 offset, quint32 size);

    // The fields of the ObjectInfo dataset the transfer uses.
    struct ObjectInfo
    {
        quint32 compressedSize = 0;
        quint16 thumbFormat = 0;
        quint32 thumbSize = 0;
        quint32 sequenceNumber = 0;
        QString fileName;
    };

    // fileFormat: the camera's file format when the picture was announced.
    OLP_Logic_TransferThread(OLP_Logic_Camera* camera, bool useObjectProps, int fileFormat);
    ~OLP_Logic_TransferThread() override;

    bool useObjectProps() const { return m_useObjectProps; }
    // True once run() is over: what the thread did is visible to the caller,
    // which may delete the thread when isFinished() is true as well. Any thread.
    bool isDone() const { return m_done.load(std::memory_order_acquire); }
    int fileFormat() const { return m_fileFormat; }
    bool usePartialObject() const { return m_usePartialObject; }

    // Reads the dataset the camera delivered; the file name stops at its first
    // NUL and at the end of the data, whatever length the camera claims.
    static ObjectInfo parseObjectInfo(const quint8* data, int size);
    // The Exif orientation (TIFF entry of tag 0x0112, SHORT, count 1) among the
    // first kExifPrefixSize bytes of a picture, in the byte order the TIFF
    // header at byte 0 or byte 12 names; 0 (found false) when there is none.
    static int exifOrientation(const QByteArray& prefix, bool* found = nullptr);
    // What filling a new file came to.
    enum eFill
    {
        Filled,
        SourceFailed,  // the bytes did not arrive
        FileFailed     // the file system did not take them
    };
    typedef std::function<eFill(QFile& file)> Filler;

    // Writes a new file at path without ever replacing one: fill writes a
    // temporary file in the same folder, which is renamed to path when
    // complete; when path was taken meanwhile, the next "_n" + "." +
    // cameraExtension name is used. The final path, or an empty string (error
    // and outcome tell why) with nothing left behind.
    static QString writeNewFile(const QString& path, const QString& cameraExtension, const Filler& fill, QString* error,
                                eFill* outcome = nullptr);
    static QString writeNewFile(const QString& path, const QString& cameraExtension, const char* data, qint64 size,
                                QString* error);

protected:
    void run() override;

private:
    enum eReceive
    {
        Received,
        ReadFailed,
        NoMemory,
        Stopped  // the sink refused the bytes
    };
    typedef std::function<bool(const quint8* data, quint32 size)> Sink;

    void transfer();
    // Fetches, acknowledges and (unless broken) writes the new picture; warns
    // the user about whatever goes wrong.
    void transferPicture(const OLP_Logic_FolderSettings::PictureFile& file, const QString& cameraName, quint32 size);
    // Reads the new picture and hands its bytes to sink in order: in parts of
    // kChunkSize when the camera offers GetPartialObject, else whole with one
    // GetObject.
    eReceive receivePicture(quint32 size, const Sink& sink);
    // The parts, each read while the one before goes to sink on a helper
    // thread; sink is called from that thread, one part at a time, in order.
    eReceive receiveInParts(quint32 size, const Sink& sink);
    int readOrientation(bool isJpg);
    // Writes to path, or to the default picture folder when path's folder does
    // not take the file; warns when neither does. The path written, or empty.
    QString savePicture(const QString& path, const QString& cameraExtension, const Filler& fill);
    static bool writeAll(QFile& file, const char* data, qint64 size);
    void warn(const QString& text);

    OLP_Logic_Camera* const m_camera;
    const bool m_useObjectProps;
    const int m_fileFormat;
    std::atomic<bool> m_done{false};
    bool m_usePartialObject = false;
};
