#pragma once

#include <QAbstractNativeEventFilter>
#include <QKeyCombination>
#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>

namespace kobako::platform {

class ShortcutsPortal;

// A key that calls the program from anywhere on the desktop: grabbed on the X server's root
// window (with Num Lock and Caps Lock on or off), or registered with Windows. A Wayland
// compositor lets no program take a key for itself: there it is asked of the desktop portal, where
// one offers global shortcuts, and the user can always bind `kobako --show`.
class GlobalKey : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
  public:
    explicit GlobalKey(QObject *parent = nullptr);
    ~GlobalKey() override;

    // Takes `keys` ("Ctrl+Alt+H"), letting go of the key taken before; empty takes none. When
    // the key cannot be taken (another program holds it, it is no key), why, for the user.
    std::optional<QString> take(const QString &keys);
    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *result) override;

  signals:
    void pressed();

  private:
    // Each system's masks of Shift, Ctrl, Alt and Meta (the Windows key).
    struct ModifierMasks {
        uint32_t shift, control, alt, meta;
    };
    struct Combination {
        QKeyCombination keys; // Qt's
        uint32_t modifiers;   // the system's
    };
    // The one key and its modifiers that `keys` names; none when it names no key, or several.
    static std::optional<Combination> combinationOf(const QString &keys);
    // Each system's own: its modifier masks, its code for a key (none for one it cannot take),
    // and taking the key (why not, when it could not be taken).
    static const ModifierMasks kMasks;
    static std::optional<uint32_t> systemKeyOf(int key);
    std::optional<QString> grab(const QString &keys, uint32_t key, const Combination &combination);
    void letGo();
    static QString heldElsewhere(const QString &keys);
    static QString noKey(const QString &keys);

    // The key as the system knows it (X11: key code and modifier mask; Windows: virtual key).
    struct Taken {
        uint32_t key = 0;
        uint32_t modifiers = 0;
    };
    std::optional<Taken> taken_;
    // On a Wayland desktop: XWayland's root window sees keys only while an X window has them.
    ShortcutsPortal *portal_ = nullptr;
};

} // namespace kobako::platform
