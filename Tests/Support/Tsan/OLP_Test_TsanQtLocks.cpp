// ThreadSanitizer builds only (OLP_TSAN): the QMutex and QWaitCondition calls
// of the program's own code, and the calls it queues into other threads with
// QMetaObject::invokeMethod, reported to ThreadSanitizer. Qt is not built with
// it, so its locks and its event queue work without ThreadSanitizer seeing
// them: every value a QMutex guards would look unguarded, every queued call
// unordered with the code that queued it. These definitions take the place of
// Qt's for the calls from this executable (Qt's calls inside its own library
// stay bound to its own code) and forward to Qt's.

#include <dlfcn.h>
#include <sanitizer/tsan_interface.h>

#include <QDeadlineTimer>
#include <QMetaObject>
#include <QMutex>
#include <QWaitCondition>
#include <cstdio>
#include <cstdlib>

namespace {

template <typename F>
F qtFunction(const char* symbol)
{
    void* f = dlsym(RTLD_NEXT, symbol);
    if (!f) {
        std::fprintf(stderr, "OLP_Test_TsanQtLocks: %s not found in Qt\n", symbol);
        std::abort();
    }
    return reinterpret_cast<F>(f);
}

void released(QMutex* mutex)
{
    __tsan_mutex_pre_unlock(mutex, 0);
    __tsan_mutex_post_unlock(mutex, 0);
}

void acquired(QMutex* mutex)
{
    __tsan_mutex_pre_lock(mutex, 0);
    __tsan_mutex_post_lock(mutex, 0, 0);
}

// A call queued with invokeMethod: what the queuing thread did before is
// ordered before the call, wherever Qt runs it.
class QueuedCall : public QtPrivate::QSlotObjectBase
{
public:
    explicit QueuedCall(QtPrivate::QSlotObjectBase* call) : QSlotObjectBase(&impl), m_call(call)
    {
        __tsan_release(this);
    }

private:
    static void impl(int which, QSlotObjectBase* self, QObject* receiver, void** args, bool* result)
    {
        QueuedCall* that = static_cast<QueuedCall*>(self);
        switch (which) {
            case Destroy:
                that->m_call->destroyIfLastRef();
                delete that;
                break;
            case Call:
                __tsan_acquire(that);
                that->m_call->call(receiver, args);
                break;
            case Compare:
                *result = that->m_call->compare(args);
                break;
            default:
                break;
        }
    }

    QtPrivate::QSlotObjectBase* const m_call;
};

}  // namespace

void QMutex::lock() QT_MUTEX_LOCK_NOEXCEPT
{
    static const auto qtLock = qtFunction<void (*)(QMutex*)>("_ZN6QMutex4lockEv");
    __tsan_mutex_pre_lock(this, 0);
    qtLock(this);
    __tsan_mutex_post_lock(this, 0, 0);
}

bool QMutex::tryLock(int timeout) QT_MUTEX_LOCK_NOEXCEPT
{
    static const auto qtTryLock = qtFunction<bool (*)(QMutex*, int)>("_ZN6QMutex7tryLockEi");
    __tsan_mutex_pre_lock(this, __tsan_mutex_try_lock);
    const bool locked = qtTryLock(this, timeout);
    __tsan_mutex_post_lock(this, __tsan_mutex_try_lock | (locked ? 0 : __tsan_mutex_try_lock_failed), 0);
    return locked;
}

void QMutex::unlock() noexcept
{
    static const auto qtUnlock = qtFunction<void (*)(QMutex*)>("_ZN6QMutex6unlockEv");
    __tsan_mutex_pre_unlock(this, 0);
    qtUnlock(this);
    __tsan_mutex_post_unlock(this, 0);
}

bool QWaitCondition::wait(QMutex* lockedMutex, QDeadlineTimer deadline)
{
    static const auto qtWait = qtFunction<bool (*)(QWaitCondition*, QMutex*, QDeadlineTimer)>(
        "_ZN14QWaitCondition4waitEP6QMutex14QDeadlineTimer");
    // Qt unlocks and locks the mutex inside its library while waiting.
    released(lockedMutex);
    const bool woken = qtWait(this, lockedMutex, deadline);
    acquired(lockedMutex);
    return woken;
}

bool QWaitCondition::wait(QMutex* lockedMutex, unsigned long time)
{
    static const auto qtWait =
        qtFunction<bool (*)(QWaitCondition*, QMutex*, unsigned long)>("_ZN14QWaitCondition4waitEP6QMutexm");
    released(lockedMutex);
    const bool woken = qtWait(this, lockedMutex, time);
    acquired(lockedMutex);
    return woken;
}

bool QMetaObject::invokeMethodImpl(QObject* object, QtPrivate::QSlotObjectBase* slot, Qt::ConnectionType type,
                                   void* ret)
{
    static const auto qtInvoke = qtFunction<bool (*)(QObject*, QtPrivate::QSlotObjectBase*, Qt::ConnectionType, void*)>(
        "_ZN11QMetaObject16invokeMethodImplEP7QObjectPN9QtPrivate15QSlotObjectBaseEN2Qt14ConnectionTypeEPv");
    return qtInvoke(object, new QueuedCall(slot), type, ret);
}
