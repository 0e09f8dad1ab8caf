#pragma once

#include <QDBusObjectPath>
#include <QKeyCombination>
#include <QObject>
#include <QString>
#include <QVariantMap>

namespace kobako::platform {

// The desktop portal's global shortcuts (org.freedesktop.portal.GlobalShortcuts): how a program
// asks a Wayland desktop for a key of its own. The desktop may ask the user, or offer another
// key; where no desktop portal offers it, nothing happens and `kobako --show` remains.
class ShortcutsPortal : public QObject {
    Q_OBJECT
  public:
    explicit ShortcutsPortal(QObject *parent = nullptr);

    // Asks for `keys` in a new session; the one before is ended by `letGo`.
    void bind(QKeyCombination keys);
    // Ends the session: the desktop lets go of the shortcut.
    void letGo();
    // The key as portals name it: "CTRL+ALT+h", the key by its XKB keysym name.
    static QString triggerOf(QKeyCombination keys);

  signals:
    void activated();

  private slots:
    void onSessionCreated(uint response, const QVariantMap &results);
    void onBound(uint response, const QVariantMap &results);
    void onActivated(const QDBusObjectPath &session, const QString &shortcut, qulonglong timestamp,
                     const QVariantMap &options);

  private:
    // Calls `method` of the portal, its answer going to `onResponse`.
    void request(const QString &method, QVariantList arguments, QVariantMap options,
                 const char *onResponse);
    void stopListening();

    QString trigger_;
    QString session_;
    QString requestPath_;
    const char *onResponse_ = nullptr;
    unsigned requests_ = 0;
};

} // namespace kobako::platform
