#pragma once

#include <QList>
#include <QVector>
#include <QtGlobal>

#include "OLP_Commu_EmuProfile.h"

// What the emulated camera does over time when it is released: the mirror of
// mirror-up mode (the first release raises it, the second exposes), the bulb
// shutter held open between its open and close stages with a tick event per
// interval while open, the self-timer counting down before the picture,
// continuous shooting that goes on taking pictures while the host keeps it
// open, and the camera's own interval series (the device-property products
// in drive mode Interval: one release, a picture per interval).
//
// Everything the camera decides is read from its settings (the settings
// structure or the device properties), so a host that set mirror-up or the
// drive mode on the camera gets the camera's behaviour for it.
//
// Not thread-safe: the camera holds its mutex around every call.
class OLP_Commu_EmuSequences
{
public:
    struct Options
    {
        int bulbTickMs = 40;          // between bulb ticks while the shutter is open
        int bulbTicks = 3;            // ticks announced after opening, counts 1, 2, ...
        bool finalBulbCount = false;  // a tick with count -1 when the shutter closes
        int selfTimerTickMs = 10;     // between self-timer ticks
        int intervalUnitMs = 1000;    // the camera's own interval series: one second
        // Continuous shooting: after the first burst, one more picture each
        // time the host has taken one, until it stops (at most this many).
        bool continuousWhileOpen = false;
        int continuousLimit = 20;
    };

    struct Event
    {
        quint16 code = 0;
        QVector<quint32> params;
        int delayMs = 0;
    };
    struct PropertyChange
    {
        quint16 code = 0;
        qint64 value = 0;
    };
    // What one release operation makes the camera do.
    struct Outcome
    {
        int shots = -1;  // pictures to take; -1: as a plain release of this stage would
        int firstShotDelayMs = 0;
        int shotSpacingMs = 0;
        QList<Event> events;
        QList<PropertyChange> properties;
        quint16 cancelEvent = 0;  // pending events of this code are dropped
    };

    Options& options() { return m_options; }
    const Options& options() const { return m_options; }

    Outcome release(quint16 code, const QVector<quint32>& params, const OLP_Commu_EmuProfile& profile);
    // The host acknowledged a picture: pictures to take now.
    int acknowledged();
    // The session ended or the cable was pulled.
    void reset();

    bool isMirrorRaised() const { return m_mirrorRaised; }
    bool isBulbOpen() const { return m_bulbOpen; }
    bool isContinuousOpen() const { return m_continuousOpen; }

    // The camera's settings as these sequences read them.
    static bool mirrorUpOf(const OLP_Commu_EmuProfile& profile);
    // The drive mode as the camera's drive-mode list numbers it: 0 single,
    // 1 continuous, 2 and 3 self-timer 2 s and 12 s, 5 interval.
    static int driveOf(const OLP_Commu_EmuProfile& profile);
    static bool hasOwnInterval(const OLP_Commu_EmuProfile& profile);

private:
    Outcome bulbOpen(const OLP_Commu_EmuProfile& profile);
    Outcome bulbClose(const OLP_Commu_EmuProfile& profile);
    Outcome single(const OLP_Commu_EmuProfile& profile);

    Options m_options;
    bool m_mirrorRaised = false;
    bool m_bulbOpen = false;
    bool m_continuousOpen = false;
    int m_continuousTaken = 0;
};
