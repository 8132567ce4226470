#include "OLP_Color_Monitor.h"

#include <xcb/xcb.h>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <cstdlib>

#include "OLP_Color_Factory.h"

namespace {

struct XcbReplyDeleter
{
    void operator()(void* reply) const { std::free(reply); }
};
template <class T>
using XcbReply = std::unique_ptr<T, XcbReplyDeleter>;

// The bytes of the root window's profile property for screen; empty when
// there is none, when it is not made of bytes or when it is too large.
QByteArray readRootProfileProperty(int screen)
{
    int preferredScreen = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &preferredScreen);
    if (!connection) {
        return QByteArray();
    }
    std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> closer(connection, &xcb_disconnect);
    if (xcb_connection_has_error(connection)) {
        return QByteArray();
    }
    xcb_screen_iterator_t roots = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < preferredScreen && roots.rem > 0; ++i) {
        xcb_screen_next(&roots);
    }
    if (roots.rem <= 0) {
        return QByteArray();
    }
    const xcb_window_t root = roots.data->root;

    const QByteArray name = screen == 0 ? QByteArrayLiteral("_ICC_PROFILE")
                                        : QByteArrayLiteral("_ICC_PROFILE_") + QByteArray::number(screen);
    XcbReply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, quint16(name.size()), name.constData()), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE) {
        return QByteArray();
    }

    // First only the size and format, so an oversized property is never fetched.
    XcbReply<xcb_get_property_reply_t> probe(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 0), nullptr));
    if (!probe || probe->type == XCB_ATOM_NONE || probe->format != 8 || probe->bytes_after == 0 ||
        probe->bytes_after > quint64(MonitorProfileMaxBytes)) {
        return QByteArray();
    }
    const quint32 size = probe->bytes_after;
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, (size + 3) / 4),
        nullptr));
    // The property may have changed between the two requests: take only a
    // complete answer of the announced size.
    if (!reply || reply->format != 8 || reply->bytes_after != 0 ||
        xcb_get_property_value_length(reply.get()) != int(size)) {
        return QByteArray();
    }
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())), int(size));
}

// The cache copy of the property bytes, rewritten only when they differ.
QString cachedProfilePath(int screen, const QByteArray& bytes)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        return QString();
    }
    const QString path = QDir(folder).absoluteFilePath(QStringLiteral("monitor-%1.icc").arg(screen));
    QFile existing(path);
    if (existing.size() == bytes.size() && existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes) {
        return path;
    }
    existing.close();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return QString();
    }
    return path;
}

QDBusMessage callColord(const QString& path, const QString& interface, const QString& method,
                        const QVariantList& arguments, const QDeadlineTimer& deadline)
{
    const int remaining = int(deadline.remainingTime());
    if (remaining <= 0) {
        return QDBusMessage();
    }
    QDBusMessage message =
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ColorManager"), path, interface, method);
    message.setArguments(arguments);
    // Block without running the event loop: nothing re-enters the GUI here.
    return QDBusConnection::systemBus().call(message, QDBus::Block, remaining);
}

QVariant colordProperty(const QString& path, const QString& interface, const QString& property,
                        const QDeadlineTimer& deadline)
{
    const QDBusMessage reply = callColord(path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                          QStringLiteral("Get"), {interface, property}, deadline);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return QVariant();
    }
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
}

// The file of the first profile the colour daemon holds for the output.
QString colordProfilePath(const QString& outputName)
{
    if (outputName.isEmpty() || !QDBusConnection::systemBus().isConnected()) {
        return QString();
    }
    const QDeadlineTimer deadline(MonitorProfileTimeoutMs);
    const QDBusMessage device =
        callColord(QStringLiteral("/org/freedesktop/ColorManager"), QStringLiteral("org.freedesktop.ColorManager"),
                   QStringLiteral("FindDeviceByProperty"), {QStringLiteral("XRANDR_name"), outputName}, deadline);
    if (device.type() != QDBusMessage::ReplyMessage || device.arguments().isEmpty()) {
        return QString();
    }
    const QString devicePath = device.arguments().constFirst().value<QDBusObjectPath>().path();
    if (devicePath.isEmpty()) {
        return QString();
    }
    const QVariant profiles = colordProperty(devicePath, QStringLiteral("org.freedesktop.ColorManager.Device"),
                                             QStringLiteral("Profiles"), deadline);
    if (!profiles.canConvert<QDBusArgument>()) {
        return QString();
    }
    QList<QDBusObjectPath> profilePaths;
    const QDBusArgument argument = profiles.value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("ao")) {
        return QString();
    }
    argument >> profilePaths;
    if (profilePaths.isEmpty() || profilePaths.constFirst().path().isEmpty()) {
        return QString();
    }
    const QString fileName =
        colordProperty(profilePaths.constFirst().path(), QStringLiteral("org.freedesktop.ColorManager.Profile"),
                       QStringLiteral("Filename"), deadline)
            .toString();
    return QFileInfo(fileName).isAbsolute() ? fileName : QString();
}

}  // namespace

QString monitorProfilePath(int screen)
{
    if (screen < 0 || !qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb")) {
        return QString();
    }
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screen >= screens.size()) {
        return QString();
    }
    const QByteArray bytes = readRootProfileProperty(screen);
    if (!bytes.isEmpty()) {
        return cachedProfilePath(screen, bytes);
    }
    return colordProfilePath(screens.at(screen)->name());
}

std::unique_ptr<OLP_Color_ProfileIF> createMonitorProfile(const QPoint& point)
{
    if (!qGuiApp) {
        return nullptr;
    }
    const int screen = QGuiApplication::screens().indexOf(QGuiApplication::screenAt(point));
    const QString path = monitorProfilePath(screen);
    if (path.isEmpty()) {
        return nullptr;
    }
    return createProfile(path);
}
