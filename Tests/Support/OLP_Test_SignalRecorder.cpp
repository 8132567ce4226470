#include "OLP_Test_SignalRecorder.h"

#include <QTest>

#include "OLP_Test_Support.h"

namespace {
bool matches(const OLP_Test_SignalRecorder::Event& event, const QString& name, const QVariant& arg)
{
    return event.name == name && (!arg.isValid() || event.args.value(0) == arg);
}
}  // namespace

int OLP_Test_SignalRecorder::count(const QString& name) const
{
    int n = 0;
    for (const Event& e : events) {
        n += e.name == name ? 1 : 0;
    }
    return n;
}

int OLP_Test_SignalRecorder::find(const QString& name, const QVariant& arg, int from) const
{
    for (int i = qMax(0, from); i < events.size(); ++i) {
        if (matches(events.at(i), name, arg)) {
            return i;
        }
    }
    return -1;
}

int OLP_Test_SignalRecorder::findLast(const QString& name, const QVariant& arg) const
{
    for (int i = events.size() - 1; i >= 0; --i) {
        if (matches(events.at(i), name, arg)) {
            return i;
        }
    }
    return -1;
}

QVariant OLP_Test_SignalRecorder::last(const QString& name, int arg) const
{
    const int i = findLast(name);
    return i >= 0 ? events.at(i).args.value(arg) : QVariant();
}

bool OLP_Test_SignalRecorder::wait(const QString& name, int atLeast, int timeoutMs)
{
    return QTest::qWaitFor([&] { return count(name) >= atLeast; }, olpTimeout(timeoutMs));
}
