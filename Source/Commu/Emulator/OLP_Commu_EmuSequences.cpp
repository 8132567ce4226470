#include "OLP_Commu_EmuSequences.h"

#include "OLP_Commu_EmuSettingsStruct.h"
#include "OLP_Commu_EmuWire.h"

namespace {

// The camera's release stages (parameter 1 of its release operation).
constexpr quint32 StageSingle = 0;
constexpr quint32 StageBulbOpen = 7;
constexpr quint32 StageBulbClose = 8;
constexpr quint32 StageContinuousStart = 12;
constexpr quint32 StageContinuousStop = 13;

// Device properties the sequences read or change.
constexpr quint16 PropDriveMode = 0x5013;
constexpr quint16 PropIntervalFrames = 0xD000;
constexpr quint16 PropIntervalTime = 0xD001;
constexpr quint16 PropMirrorUp = 0xD00A;
constexpr quint16 PropSelfTimerRest = 0xD627;
constexpr quint16 PropBulbTime = 0xD628;

qint64 propertyOf(const OLP_Commu_EmuProfile& profile, quint16 code, qint64 fallback)
{
    for (const OLP_Commu_EmuProfile::Property& p : profile.properties) {
        if (p.code == code) {
            return p.current;
        }
    }
    return fallback;
}

bool hasProperty(const OLP_Commu_EmuProfile& profile, quint16 code)
{
    for (const OLP_Commu_EmuProfile::Property& p : profile.properties) {
        if (p.code == code) {
            return true;
        }
    }
    return false;
}

int settingsByte(const OLP_Commu_EmuProfile& profile, int offset)
{
    return offset < profile.settings.size() ? quint8(profile.settings.at(offset)) : 0;
}

}  // namespace

bool OLP_Commu_EmuSequences::mirrorUpOf(const OLP_Commu_EmuProfile& profile)
{
    if (OLP_Commu_EmuSettingsStruct::isSecondLayout(profile.productId)) {
        // The second layout has no mirror-up; the byte means something else there.
        return false;
    }
    if (profile.hasSettingsStructure) {
        return settingsByte(profile, OLP_Commu_EmuSettingsStruct::MirrorUp) != 0;
    }
    return propertyOf(profile, PropMirrorUp, 0) != 0;
}

int OLP_Commu_EmuSequences::driveOf(const OLP_Commu_EmuProfile& profile)
{
    if (profile.hasSettingsStructure) {
        return settingsByte(profile, OLP_Commu_EmuSettingsStruct::DriveMode);
    }
    // The camera's own codes: 1 continuous, 2 interval, 3 and 4 self-timer.
    switch (propertyOf(profile, PropDriveMode, 0)) {
        case 1:
            return 1;
        case 2:
            return 5;
        case 3:
            return 2;
        case 4:
            return 3;
        default:
            return 0;
    }
}

bool OLP_Commu_EmuSequences::hasOwnInterval(const OLP_Commu_EmuProfile& profile)
{
    return !profile.hasSettingsStructure && hasProperty(profile, PropIntervalFrames) &&
           hasProperty(profile, PropIntervalTime);
}

OLP_Commu_EmuSequences::Outcome OLP_Commu_EmuSequences::release(quint16 code, const QVector<quint32>& params,
                                                                const OLP_Commu_EmuProfile& profile)
{
    const quint32 p0 = params.value(0);
    switch (code) {
        case EmuWire::Release:
            switch (p0) {
                case StageSingle:
                    return single(profile);
                case StageBulbOpen:
                    return bulbOpen(profile);
                case StageBulbClose:
                    return bulbClose(profile);
                case StageContinuousStart:
                    m_continuousOpen = true;
                    m_continuousTaken = 0;
                    return Outcome();
                case StageContinuousStop:
                    m_continuousOpen = false;
                    return Outcome();
                default:
                    return Outcome();
            }
        case EmuWire::InitiateCapture:
            return single(profile);
        case EmuWire::BulbExposure:
            return p0 == 1 ? bulbClose(profile) : bulbOpen(profile);
        case EmuWire::ContinuousExposure:
            m_continuousOpen = p0 == 0;
            m_continuousTaken = 0;
            return Outcome();
        default:
            return Outcome();
    }
}

OLP_Commu_EmuSequences::Outcome OLP_Commu_EmuSequences::single(const OLP_Commu_EmuProfile& profile)
{
    Outcome out;
    if (mirrorUpOf(profile)) {
        // Mirror-up: the first release lifts the mirror, the second exposes.
        m_mirrorRaised = !m_mirrorRaised;
        if (m_mirrorRaised) {
            out.shots = 0;
        }
        return out;
    }
    const int drive = driveOf(profile);
    if (drive == 5 && hasOwnInterval(profile)) {
        const qint64 frames = propertyOf(profile, PropIntervalFrames, 1);
        const qint64 seconds = propertyOf(profile, PropIntervalTime, 1);
        out.shots = int(qBound<qint64>(1, frames, 9999));
        out.shotSpacingMs = int(qBound<qint64>(0, seconds, 89999) * m_options.intervalUnitMs);
        return out;
    }
    if (drive == 2 || drive == 3) {
        const int seconds = drive == 2 ? 2 : 12;
        const bool tickEvents = profile.events.contains(EmuWire::EventSelfTimerTick);
        for (int rest = seconds; rest > 0; --rest) {
            const int at = (seconds - rest) * m_options.selfTimerTickMs;
            if (tickEvents) {
                out.events.append(Event{EmuWire::EventSelfTimerTick, {quint32(rest)}, at});
            }
        }
        if (!tickEvents && hasProperty(profile, PropSelfTimerRest)) {
            out.properties.append(PropertyChange{PropSelfTimerRest, seconds});
        }
        out.firstShotDelayMs = seconds * m_options.selfTimerTickMs;
    }
    return out;
}

OLP_Commu_EmuSequences::Outcome OLP_Commu_EmuSequences::bulbOpen(const OLP_Commu_EmuProfile& profile)
{
    Outcome out;
    out.shots = 0;
    if (mirrorUpOf(profile) && !m_mirrorRaised && !m_bulbOpen) {
        m_mirrorRaised = true;
        return out;
    }
    m_mirrorRaised = false;
    m_bulbOpen = true;
    if (profile.events.contains(EmuWire::EventBulbTick)) {
        for (int tick = 1; tick <= m_options.bulbTicks; ++tick) {
            out.events.append(Event{EmuWire::EventBulbTick, {quint32(tick)}, tick * m_options.bulbTickMs});
        }
    } else if (hasProperty(profile, PropBulbTime)) {
        out.properties.append(PropertyChange{PropBulbTime, 0});
    }
    return out;
}

OLP_Commu_EmuSequences::Outcome OLP_Commu_EmuSequences::bulbClose(const OLP_Commu_EmuProfile& profile)
{
    Outcome out;
    if (!m_bulbOpen) {
        // Nothing to close: the camera takes no picture.
        out.shots = 0;
        return out;
    }
    m_bulbOpen = false;
    out.cancelEvent = EmuWire::EventBulbTick;
    if (profile.events.contains(EmuWire::EventBulbTick)) {
        if (m_options.finalBulbCount) {
            out.events.append(Event{EmuWire::EventBulbTick, {quint32(-1)}, 0});
        }
    } else if (hasProperty(profile, PropBulbTime)) {
        out.properties.append(PropertyChange{PropBulbTime, -1});
    }
    return out;
}

int OLP_Commu_EmuSequences::acknowledged()
{
    if (!m_options.continuousWhileOpen || !m_continuousOpen || m_continuousTaken >= m_options.continuousLimit) {
        return 0;
    }
    ++m_continuousTaken;
    return 1;
}

void OLP_Commu_EmuSequences::reset()
{
    m_mirrorRaised = false;
    m_bulbOpen = false;
    m_continuousOpen = false;
    m_continuousTaken = 0;
}
