#include "OLP_Color_World_Linux.h"

#include <QThread>
#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

#include "OLP_Color_MatrixShaper.h"
#include "OLP_Color_Profile_Linux.h"

namespace {
// From about half a megapixel on, a picture is translated in bands of rows.
constexpr qint64 kParallelPixels = 512 * 1024;
constexpr int kMaxBands = 8;
}  // namespace

OLP_Color_World_Linux::OLP_Color_World_Linux(const OLP_Color_Profile_Linux& source,
                                             const OLP_Color_Profile_Linux& destination, int intent)
{
    OLP_Color_Profile_Linux::installErrorHandler();
    if (!source.handle() || !destination.handle()) {
        return;
    }
    // Without COPY_ALPHA the fourth byte of the destination would keep
    // whatever it held before.
    m_transform = cmsCreateTransform(source.handle(), TYPE_BGRA_8, destination.handle(), TYPE_BGRA_8,
                                     cmsUInt32Number(libraryIntent(intent)), cmsFLAGS_COPY_ALPHA | cmsFLAGS_NOCACHE);
    m_fast = OLP_Color_MatrixShaper::create(source.handle(), destination.handle(), m_transform);
}

OLP_Color_World_Linux::~OLP_Color_World_Linux()
{
    if (m_transform) {
        cmsDeleteTransform(m_transform);
    }
}

bool OLP_Color_World_Linux::isValid() const
{
    return m_transform != nullptr;
}

bool OLP_Color_World_Linux::convertLabToRgb(const double*, quint8*, int)
{
    return false;
}

bool OLP_Color_World_Linux::convertRgbToLab(const quint8*, double*, int)
{
    return false;
}

bool OLP_Color_World_Linux::convertRgb(const quint8*, quint8*, int)
{
    return false;
}

bool OLP_Color_World_Linux::convertRgb(quint8* buffer, int count)
{
    return convertRgb(buffer, buffer, count);
}

bool OLP_Color_World_Linux::translateBitmap(const uchar* src, uchar* dst, int width, int height, int bytesPerLine)
{
    if (!m_transform || !src || !dst || width < 0 || qint64(bytesPerLine) != qint64(width) * 4) {
        return false;
    }
    const auto rows = [this, src, dst, width, bytesPerLine](int first, int end) {
        for (int row = first; row < end; ++row) {
            const qint64 offset = qint64(row) * bytesPerLine;
            if (m_fast) {
                m_fast->translateRow(src + offset, dst + offset, width);
            } else {
                cmsDoTransform(m_transform, src + offset, dst + offset, cmsUInt32Number(width));
            }
        }
    };
    // A large picture (a live view frame filling the screen) is split into
    // bands of rows, one per core, so that the frame is ready sooner; the
    // transform is shared, which its construction without the one-pixel cache
    // allows (the table path is read-only). Small pictures are not worth it.
    const int bands = qint64(width) * height >= kParallelPixels ? std::min(QThread::idealThreadCount(), kMaxBands) : 1;
    if (bands <= 1) {
        rows(0, height);
        return true;
    }
    // One short-lived thread per further band: a few tens of microseconds
    // against milliseconds of work, nothing to wait for in a shared pool, and
    // a hand-back thread checkers can follow.
    const int bandRows = (height + bands - 1) / bands;
    std::vector<std::thread> workers;
    workers.reserve(size_t(bands - 1));
    for (int band = 1; band < bands; ++band) {
        const int first = band * bandRows;
        const int end = std::min(height, first + bandRows);
        if (first >= end) {
            break;
        }
        try {
            workers.emplace_back(rows, first, end);
        } catch (const std::system_error&) {
            // No thread to be had: the band is done here.
            rows(first, end);
        }
    }
    rows(0, std::min(height, bandRows));
    for (std::thread& worker : workers) {
        worker.join();
    }
    return true;
}
