#include "OLP_Commu_EmuObject.h"

#include <algorithm>
#include <cstring>

namespace {
// A prime period, so that neighbouring pages of a large object differ.
constexpr quint64 PatternPeriod = 65521;

const std::vector<quint8>& basePattern()
{
    static const std::vector<quint8> pattern = [] {
        std::vector<quint8> p(PatternPeriod);
        quint32 state = 0x12345678u;
        for (quint8& b : p) {
            state = state * 1664525u + 1013904223u;
            b = static_cast<quint8>(state >> 24);
        }
        return p;
    }();
    return pattern;
}
}  // namespace

std::shared_ptr<const OLP_Commu_EmuObject> OLP_Commu_EmuObject::fromBytes(const QByteArray& bytes)
{
    std::shared_ptr<OLP_Commu_EmuObject> object(new OLP_Commu_EmuObject);
    object->m_bytes = bytes;
    object->m_size = static_cast<quint64>(bytes.size());
    return object;
}

std::shared_ptr<const OLP_Commu_EmuObject> OLP_Commu_EmuObject::generated(quint64 size, quint32 seed)
{
    std::shared_ptr<OLP_Commu_EmuObject> object(new OLP_Commu_EmuObject);
    object->m_size = size;
    object->m_seed = seed;
    object->m_generated = true;
    return object;
}

std::shared_ptr<const OLP_Commu_EmuObject> OLP_Commu_EmuObject::withGeneratedTail(const QByteArray& head, quint64 size,
                                                                                  quint32 seed)
{
    std::shared_ptr<OLP_Commu_EmuObject> object(new OLP_Commu_EmuObject);
    object->m_bytes = head;
    object->m_size = std::max<quint64>(size, static_cast<quint64>(head.size()));
    object->m_seed = seed;
    object->m_generated = true;
    return object;
}

quint8 OLP_Commu_EmuObject::patternByte(quint64 offset, quint32 seed)
{
    return basePattern()[(offset + seed) % PatternPeriod];
}

void OLP_Commu_EmuObject::copyTo(quint64 offset, quint8* target, quint64 count) const
{
    if (offset > m_size || count > m_size - offset) {
        return;
    }
    if (!m_generated) {
        std::memcpy(target, m_bytes.constData() + offset, count);
        return;
    }
    const quint64 headSize = static_cast<quint64>(m_bytes.size());
    if (offset < headSize) {
        const quint64 n = std::min(count, headSize - offset);
        std::memcpy(target, m_bytes.constData() + offset, n);
        target += n;
        offset += n;
        count -= n;
    }
    const std::vector<quint8>& pattern = basePattern();
    quint64 position = (offset + m_seed) % PatternPeriod;
    while (count > 0) {
        const quint64 n = std::min(count, PatternPeriod - position);
        std::memcpy(target, pattern.data() + position, n);
        target += n;
        count -= n;
        position = 0;
    }
}
