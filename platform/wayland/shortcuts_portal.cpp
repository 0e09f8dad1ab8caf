#include "shortcuts_portal.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QKeySequence>

#include <cstdio>
#include <utility>

namespace kobako::platform {

// One shortcut as BindShortcuts takes it: (sa{sv}).
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument &operator<<(QDBusArgument &out, const PortalShortcut &shortcut) {
    out.beginStructure();
    out << shortcut.id << shortcut.properties;
    out.endStructure();
    return out;
}

const QDBusArgument &operator>>(const QDBusArgument &in, PortalShortcut &shortcut) {
    in.beginStructure();
    in >> shortcut.id >> shortcut.properties;
    in.endStructure();
    return in;
}

} // namespace kobako::platform

Q_DECLARE_METATYPE(kobako::platform::PortalShortcut)

namespace kobako::platform {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kShortcuts = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString kShortcutId = QStringLiteral("call");
// The portal's answers: 1 is the user's no, which needs no word.
constexpr uint kSuccess = 0;
constexpr uint kCancelled = 1;

void sayRefused(const char *step, uint response) {
    if (response != kCancelled)
        std::fprintf(stderr,
                     "kobako: the desktop portal did not bind the call key (%s: answer %u)\n", step,
                     response);
}

} // namespace

ShortcutsPortal::ShortcutsPortal(QObject *parent) : QObject(parent) {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
}

void ShortcutsPortal::bind(QKeyCombination keys) {
    trigger_ = triggerOf(keys);
    request(QStringLiteral("CreateSession"), {},
            {{QStringLiteral("session_handle_token"), QStringLiteral("kobako%1").arg(requests_)}},
            SLOT(onSessionCreated(uint, QVariantMap)));
}

void ShortcutsPortal::letGo() {
    stopListening();
    if (session_.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.disconnect(kService, kPath, kShortcuts, QStringLiteral("Activated"), this,
                   SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    bus.asyncCall(QDBusMessage::createMethodCall(kService, std::exchange(session_, {}),
                                                 QStringLiteral("org.freedesktop.portal.Session"),
                                                 QStringLiteral("Close")));
}

QString ShortcutsPortal::triggerOf(QKeyCombination keys) {
    QStringList parts;
    for (const auto &[modifier, name] : {std::pair{Qt::ControlModifier, "CTRL"},
                                         {Qt::AltModifier, "ALT"},
                                         {Qt::ShiftModifier, "SHIFT"},
                                         {Qt::MetaModifier, "LOGO"}})
        if (keys.keyboardModifiers() & modifier)
            parts << QString::fromLatin1(name);
    // Keys are named as XKB names their keysyms, a letter in lower case.
    const QString key = QKeySequence(keys.key()).toString(QKeySequence::PortableText);
    parts << (keys.key() >= Qt::Key_A && keys.key() <= Qt::Key_Z ? key.toLower() : key);
    return parts.join(u'+');
}

// The answer comes as a signal of a request object whose path the caller can tell beforehand from
// its token: listening starts before the call, so that no answer comes too soon.
void ShortcutsPortal::request(const QString &method, QVariantList arguments, QVariantMap options,
                              const char *onResponse) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    stopListening();
    const QString token = QStringLiteral("kobako%1").arg(++requests_);
    options.insert(QStringLiteral("handle_token"), token);
    const QString sender = bus.baseService().mid(1).replace(u'.', u'_');
    requestPath_ = QStringLiteral("%1/request/%2/%3").arg(kPath, sender, token);
    onResponse_ = onResponse;
    bus.connect(kService, requestPath_, kRequest, QStringLiteral("Response"), this, onResponse);
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kShortcuts, method);
    call.setArguments(arguments << options);
    // A desktop without the portal answers with an error: then there is only `kobako --show`.
    auto *answer = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    const unsigned current = requests_;
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this, current](auto *answer) {
        answer->deleteLater();
        if (answer->isError() && current == requests_)
            stopListening();
    });
}

void ShortcutsPortal::stopListening() {
    if (!onResponse_)
        return;
    QDBusConnection::sessionBus().disconnect(kService, requestPath_, kRequest,
                                             QStringLiteral("Response"), this, onResponse_);
    onResponse_ = nullptr;
}

void ShortcutsPortal::onSessionCreated(uint response, const QVariantMap &results) {
    stopListening();
    if (response != kSuccess)
        return sayRefused("session", response);
    // A string, though some portals send it as an object path.
    const QVariant handle = results.value(QStringLiteral("session_handle"));
    session_ = handle.metaType() == QMetaType::fromType<QDBusObjectPath>()
                   ? handle.value<QDBusObjectPath>().path()
                   : handle.toString();
    QDBusConnection::sessionBus().connect(
        kService, kPath, kShortcuts, QStringLiteral("Activated"), this,
        SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    const QList<PortalShortcut> shortcuts{
        {kShortcutId,
         {{QStringLiteral("description"), tr("Kobako を呼び出す")},
          {QStringLiteral("preferred_trigger"), trigger_}}}};
    request(
        QStringLiteral("BindShortcuts"),
        {QVariant::fromValue(QDBusObjectPath(session_)), QVariant::fromValue(shortcuts), QString()},
        {}, SLOT(onBound(uint, QVariantMap)));
}

void ShortcutsPortal::onBound(uint response, const QVariantMap &) {
    stopListening();
    if (response != kSuccess)
        sayRefused("bind", response);
}

void ShortcutsPortal::onActivated(const QDBusObjectPath &session, const QString &shortcut,
                                  qulonglong, const QVariantMap &) {
    if (session.path() == session_ && shortcut == kShortcutId)
        emit activated();
}

} // namespace kobako::platform
