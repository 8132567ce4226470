#include "OLP_Logic_CameraStreamInfo.h"

#include "OLP_Commu_CameraAccess_Base.h"
#include "OLP_Commu_PtpReader.h"
#include "OLP_Debug.h"

namespace {
constexpr eDebugFlag DumpFlag = 0x10000;

constexpr quint64 OffsetDatasetSize = 0;
constexpr quint64 OffsetTimeResolution = 8;
constexpr quint64 OffsetFrameHeaderSize = 16;
constexpr quint64 OffsetFrameMaxSize = 20;
constexpr quint64 OffsetPacketHeaderSize = 24;
constexpr quint64 OffsetPacketMaxSize = 28;
constexpr quint64 OffsetPacketAlignment = 32;
}  // namespace

OLP_Logic_CameraStreamInfo::OLP_Logic_CameraStreamInfo(OLP_Commu_CameraAccess_Base* access) : m_access(access)
{
    recvFromCamera();
}

void OLP_Logic_CameraStreamInfo::recvFromCamera()
{
    if (m_access == nullptr || !m_access->getStreamInfo(m_image.data(), ImageSize)) {
        m_image.fill(0);
    }
    if (datasetSize() != ImageSize) {
        debugPrintf(0, "%s - stream info structure has wrong size %llu", "OLP_Logic_CameraStreamInfo::recvFromCamera",
                    static_cast<unsigned long long>(datasetSize()));
    }
    if (isDebugEnabled(DumpFlag)) {
        dump("OLP_Logic_CameraStreamInfo::recvFromCamera");
    }
}

quint64 OLP_Logic_CameraStreamInfo::datasetSize() const
{
    return OLP_Commu_PtpReader::readU64(m_image.data(), ImageSize, OffsetDatasetSize);
}

quint64 OLP_Logic_CameraStreamInfo::timeResolution() const
{
    return OLP_Commu_PtpReader::readU64(m_image.data(), ImageSize, OffsetTimeResolution);
}

quint32 OLP_Logic_CameraStreamInfo::frameHeaderSize() const
{
    return OLP_Commu_PtpReader::readU32(m_image.data(), ImageSize, OffsetFrameHeaderSize);
}

quint32 OLP_Logic_CameraStreamInfo::frameMaxSize() const
{
    return OLP_Commu_PtpReader::readU32(m_image.data(), ImageSize, OffsetFrameMaxSize);
}

quint32 OLP_Logic_CameraStreamInfo::packetHeaderSize() const
{
    return OLP_Commu_PtpReader::readU32(m_image.data(), ImageSize, OffsetPacketHeaderSize);
}

quint32 OLP_Logic_CameraStreamInfo::packetMaxSize() const
{
    return OLP_Commu_PtpReader::readU32(m_image.data(), ImageSize, OffsetPacketMaxSize);
}

quint32 OLP_Logic_CameraStreamInfo::packetAlignment() const
{
    return OLP_Commu_PtpReader::readU32(m_image.data(), ImageSize, OffsetPacketAlignment);
}

// The 64-bit fields are printed as unsigned 64-bit values (and the 32-bit ones
// as unsigned 32-bit values); the lines read as before for every size that
// fits, and larger ones no longer print garbage.
void OLP_Logic_CameraStreamInfo::dump(const char* callerName) const
{
    static const char* const name = "OLP_Logic_CameraStreamInfo::dump";
    dumpBuffer(QStringLiteral("%1 for %2:").arg(QLatin1String(name), QLatin1String(callerName ? callerName : "")),
               QStringLiteral("streamInfo"), m_image.data(), ImageSize, 0, 16);
    debugPrintf(0, "%s - datasetSize      = %10llu bytes", name, static_cast<unsigned long long>(datasetSize()));
    debugPrintf(0, "%s - timeResolution   = %10llu ns = %lf sec", name,
                static_cast<unsigned long long>(timeResolution()), double(timeResolution()) / 1000000000.0);
    debugPrintf(0, "%s - frameHeaderSize  = %10u bytes", name, unsigned(frameHeaderSize()));
    debugPrintf(0, "%s - frameMaxSize     = %10u bytes", name, unsigned(frameMaxSize()));
    debugPrintf(0, "%s - packetHeaderSize = %10u bytes", name, unsigned(packetHeaderSize()));
    debugPrintf(0, "%s - packetMaxSize    = %10u bytes", name, unsigned(packetMaxSize()));
    debugPrintf(0, "%s - packetAlignment  = %10u byte(s)", name, unsigned(packetAlignment()));
}
