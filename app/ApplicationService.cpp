#include "app/ApplicationService.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QGuiApplication>
#include <QTimer>
#include <QUrl>

#include <cstdio>

namespace {

const QString kServiceName = QStringLiteral("org.kelvaro.Kelvaro");
const QString kObjectPath = QStringLiteral("/org/kelvaro/Kelvaro");
const QString kInterface = QStringLiteral("org.freedesktop.Application");
// A running viewer answers at once; one that does not within this time is
// taken as hung, and the start opens its own window.
constexpr int kHandOverTimeoutMs = 10'000;

// ":0.0" and ":0" are the same X display.
QString WithoutScreen(QString display) {
    const qsizetype colon = display.lastIndexOf(u':');
    const qsizetype dot = display.lastIndexOf(u'.');
    if (colon >= 0 && dot > colon)
        display.truncate(dot);
    return display;
}

} // namespace

CApplicationService::CApplicationService(Handlers handlers) : m_handlers(std::move(handlers)) {}

CApplicationService::~CApplicationService() {
    if (!m_bRegistered)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(kObjectPath);
    bus.unregisterService(kServiceName);
}

QString CApplicationService::DisplayIdentity() {
    const QString platform = QGuiApplication::platformName();
    if (platform == QStringLiteral("xcb"))
        return QStringLiteral("xcb ") + WithoutScreen(qEnvironmentVariable("DISPLAY"));
    if (platform.startsWith(QStringLiteral("wayland")))
        return QStringLiteral("wayland ") +
               qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
    return platform;
}

CApplicationService::Role CApplicationService::Start(const QStringList& paths) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return Role::Alone;
    // The object first, so that a call that comes right after the name is
    // taken finds it.
    if (!bus.registerObject(kObjectPath, this, QDBusConnection::ExportScriptableSlots))
        return Role::Alone;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> claim =
        bus.interface()->registerService(kServiceName, QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (claim.isValid() && claim.value() == QDBusConnectionInterface::ServiceRegistered) {
        m_bRegistered = true;
        return Role::Serving;
    }
    bus.unregisterObject(kObjectPath);
    return HandOver(paths) ? Role::HandedOver : Role::Alone;
}

bool CApplicationService::HandOver(const QStringList& paths) {
    const QVariantMap platformData{{kDisplayEntry, DisplayIdentity()}};
    QDBusMessage call;
    if (paths.isEmpty()) {
        call = QDBusMessage::createMethodCall(kServiceName, kObjectPath, kInterface,
                                              QStringLiteral("Activate"));
        call << platformData;
    } else {
        QStringList uris;
        for (const QString& path : paths)
            uris.append(QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded()));
        call = QDBusMessage::createMethodCall(kServiceName, kObjectPath, kInterface,
                                              QStringLiteral("Open"));
        call << uris << platformData;
    }
    const QDBusMessage reply =
        QDBusConnection::sessionBus().call(call, QDBus::Block, kHandOverTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

bool CApplicationService::FromThisDisplay(const QVariantMap& platformData) {
    const QVariant display = platformData.value(kDisplayEntry);
    if (!display.isValid() || display.toString() == DisplayIdentity())
        return true;
    sendErrorReply(QStringLiteral("org.kelvaro.Kelvaro.Error.OtherDisplay"),
                   QStringLiteral("This viewer shows its windows on another display."));
    return false;
}

void CApplicationService::Activate(const QVariantMap& platformData) {
    if (!FromThisDisplay(platformData))
        return;
    // After the reply: the caller waits for it, not for the window.
    QTimer::singleShot(0, this, [this] { m_handlers.activate(); });
}

void CApplicationService::Open(const QStringList& uris, const QVariantMap& platformData) {
    if (!FromThisDisplay(platformData))
        return;
    QStringList paths;
    for (const QString& uri : uris) {
        const QUrl url(uri);
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
        else
            std::fprintf(stderr, "kelvaro: %s is not a local file; it is not opened\n",
                         qUtf8Printable(uri));
    }
    QTimer::singleShot(0, this, [this, paths] {
        m_handlers.activate();
        m_handlers.open(paths);
    });
}

void CApplicationService::ActivateAction(const QString&, const QVariantList&,
                                         const QVariantMap& platformData) {
    // The viewer names no actions: asking for one brings it to the front.
    Activate(platformData);
}
