#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

// What a thread receives from an object in another thread: every recorded
// signal arrives queued, in emission order, as a named event with its
// arguments. A test reads the events after waiting for the one it expects.
//
// Thread: lives in the test's thread and appends only there (every recording
// is a queued connection), so the events need no lock.
class OLP_Test_SignalRecorder : public QObject
{
    Q_OBJECT
public:
    struct Event
    {
        QString name;
        QVariantList args;
    };

    explicit OLP_Test_SignalRecorder(QObject* parent = nullptr) : QObject(parent) {}

    // Every emission of signal becomes an event called name. The arguments
    // must be registered metatypes, as for any queued connection.
    template <typename Sender, typename Owner, typename... Args>
    void record(const Sender* sender, void (Owner::*signal)(Args...), const QString& name)
    {
        connect(
            sender, signal, this, [this, name](Args... args) { append(name, {QVariant::fromValue(args)...}); },
            Qt::QueuedConnection);
    }
    void append(const QString& name, const QVariantList& args = {}) { events.append(Event{name, args}); }

    int count(const QString& name) const;
    // Index of the first event with that name (and first argument) at or after
    // from; -1 when there is none.
    int find(const QString& name, const QVariant& arg = QVariant(), int from = 0) const;
    int findLast(const QString& name, const QVariant& arg = QVariant()) const;
    // Argument arg of the last event with that name; invalid when there is none.
    QVariant last(const QString& name, int arg = 0) const;
    QStringList lastList(const QString& name) const { return last(name).toStringList(); }
    // Waits (time-out scaled) until at least atLeast events with that name arrived.
    bool wait(const QString& name, int atLeast = 1, int timeoutMs = 5000);

    QList<Event> events;
};
