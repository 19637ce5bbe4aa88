// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "desktopsession.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFile>
#include <QStandardPaths>

#include "waituntil.h"

namespace {

const QString kSocket = QStringLiteral("wayland-test");
const QString kAccessible = QStringLiteral("org.a11y.atspi.Accessible");
const QString kRoot = QStringLiteral("/org/a11y/atspi/accessible/root");
// Bit 25 of the state set: shown on the screen.
constexpr uint kShowingBit = 1u << 25;

// A bus that starts no services and lets its clients talk freely.
const char kBusConfig[] = "<busconfig>\n"
                          "  <type>session</type>\n"
                          "  <listen>unix:path=%1</listen>\n"
                          "  <auth>EXTERNAL</auth>\n"
                          "  <policy context=\"default\">\n"
                          "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                          "    <allow eavesdrop=\"true\"/>\n"
                          "    <allow own=\"*\"/>\n"
                          "  </policy>\n"
                          "</busconfig>\n";

// What the call answered; nothing when it failed, as for a program that
// shows no tree, or not yet.
QVariantList call(QDBusConnection &bus, const QString &service, const QString &path, const QString &interface,
                  const QString &method, const QVariantList &arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    const QDBusMessage reply = bus.call(message, QDBus::Block, 2000);
    return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments() : QVariantList();
}

QVariant property(QDBusConnection &bus, const QString &service, const QString &path, const QString &name)
{
    const QVariantList reply = call(bus, service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                    QStringLiteral("Get"), {kAccessible, name});
    return reply.isEmpty() ? QVariant() : reply.first().value<QDBusVariant>().variant();
}

} // namespace

namespace TestKit {

// Where a program asks the session bus for the accessibility bus: this one.
class AccessibilityBusDirectory : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.a11y.Bus")

public:
    explicit AccessibilityBusDirectory(const QString &address) : m_address(address) {}

public slots:
    QString GetAddress() const { return m_address; }

private:
    QString m_address;
};

DesktopSession::DesktopSession()
{
    const QString weston = QStandardPaths::findExecutable(QStringLiteral("weston"));
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (weston.isEmpty() || daemon.isEmpty() || !m_runtime.isValid()) {
        m_failure = QStringLiteral("weston or dbus-daemon is missing: run scripts/install-deps.sh test");
        return;
    }
    QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile config(m_runtime.filePath(QStringLiteral("bus.conf")));
    if (!config.open(QIODevice::WriteOnly)
        || config.write(QString::fromLatin1(kBusConfig).arg(m_runtime.filePath(QStringLiteral("bus"))).toUtf8()) < 0) {
        m_failure = QStringLiteral("cannot write the bus's configuration");
        return;
    }
    config.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    m_compositor = std::make_unique<ChildProgram>(weston,
                                                  QStringList{"--backend=headless-backend.so", "--shell=kiosk-shell.so",
                                                              "--idle-time=0", "--socket=" + kSocket},
                                                  ChildProgram::Console::Keep, environment);
    m_bus = std::make_unique<ChildProgram>(
            daemon, QStringList{"--nofork", "--print-address=1", "--config-file=" + config.fileName()},
            ChildProgram::Console::Keep, environment);
    m_bus->waitForPort();
    m_busAddress = QString::fromUtf8(m_bus->firstLine());
    m_connection = QDBusConnection::connectToBus(m_busAddress, QStringLiteral("desktop-session"));
    m_busDirectory = std::make_unique<AccessibilityBusDirectory>(m_busAddress);
    if (!m_connection.registerObject(QStringLiteral("/org/a11y/bus"), m_busDirectory.get(),
                                     QDBusConnection::ExportAllSlots)
        || !m_connection.registerService(QStringLiteral("org.a11y.Bus"))) {
        m_failure = "the accessibility bus did not start: " + m_bus->errors();
        return;
    }
    if (!waitUntil([this] { return QFile::exists(m_runtime.filePath(kSocket)) || !m_compositor->running(); }, 10000)
        || !m_compositor->running())
        m_failure = "the compositor did not start: " + m_compositor->errors();
}

DesktopSession::~DesktopSession()
{
    QDBusConnection::disconnectFromBus(QStringLiteral("desktop-session"));
    // Asked to end, the compositor ends the clients it started as well.
    if (m_compositor)
        m_compositor->stop();
    if (m_bus)
        m_bus->stop();
}

QProcessEnvironment DesktopSession::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "AT_SPI_BUS_ADDRESS", "XDG_SESSION_TYPE"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), kSocket);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
    // As when a screen reader runs.
    environment.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    return environment;
}

DesktopSession::Control DesktopSession::findBelow(const QString &service, const QString &path, const QString &name,
                                                  int depth)
{
    if (property(m_connection, service, path, QStringLiteral("Name")).toString() == name) {
        const QVariantList state = call(m_connection, service, path, kAccessible, QStringLiteral("GetState"));
        const auto bits = state.isEmpty() ? QList<uint>() : qdbus_cast<QList<uint>>(state.first());
        return {service, path, !bits.isEmpty() && (bits[0] & kShowingBit)};
    }
    const QVariantList children = call(m_connection, service, path, kAccessible, QStringLiteral("GetChildren"));
    if (depth == 0 || children.isEmpty())
        return {};
    const QDBusArgument list = children.first().value<QDBusArgument>();
    QList<QString> paths;
    list.beginArray();
    while (!list.atEnd()) {
        QString childService;
        QDBusObjectPath childPath;
        list.beginStructure();
        list >> childService >> childPath;
        list.endStructure();
        paths.append(childPath.path());
    }
    list.endArray();
    for (const QString &child : std::as_const(paths)) {
        if (Control found = findBelow(service, child, name, depth - 1); !found.service.isEmpty())
            return found;
    }
    return {};
}

DesktopSession::Control DesktopSession::find(const QString &name)
{
    const QStringList services = m_connection.interface()->registeredServiceNames();
    for (const QString &service : services) {
        if (service.startsWith(u':') && service != m_connection.baseService()) {
            if (Control found = findBelow(service, kRoot, name, 6); !found.service.isEmpty())
                return found;
        }
    }
    return {};
}

bool DesktopSession::waitForShowing(const QString &name, int timeoutMs)
{
    return waitUntil([&] { return find(name).showing; }, timeoutMs);
}

bool DesktopSession::perform(const QString &name, const QString &interface, const QString &method,
                             const QVariant &argument)
{
    const Control control = find(name);
    const QVariantList reply = call(m_connection, control.service, control.path, interface, method, {argument});
    return !reply.isEmpty() && reply.first().toBool();
}

bool DesktopSession::setText(const QString &name, const QString &text)
{
    return perform(name, QStringLiteral("org.a11y.atspi.EditableText"), QStringLiteral("SetTextContents"), text);
}

bool DesktopSession::press(const QString &name)
{
    return perform(name, QStringLiteral("org.a11y.atspi.Action"), QStringLiteral("DoAction"), 0);
}

} // namespace TestKit

#include "desktopsession.moc"
