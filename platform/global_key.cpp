#include "global_key.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeySequence>

namespace kobako::platform {

GlobalKey::GlobalKey(QObject *parent) : QObject(parent) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

GlobalKey::~GlobalKey() {
    letGo();
}

std::optional<QString> GlobalKey::take(const QString &keys) {
    letGo();
    if (keys.isEmpty())
        return std::nullopt;
    const auto combination = combinationOf(keys);
    const auto key = combination ? systemKeyOf(combination->keys.key()) : std::nullopt;
    if (!key)
        return noKey(keys);
    // The offscreen platform stands for no desktop: there is none to take a key from.
    if (QGuiApplication::platformName() == QStringLiteral("offscreen"))
        return std::nullopt;
    return grab(keys, *key, *combination);
}

std::optional<GlobalKey::Combination> GlobalKey::combinationOf(const QString &keys) {
    const QKeySequence sequence = QKeySequence::fromString(keys, QKeySequence::PortableText);
    if (sequence.count() != 1)
        return std::nullopt;
    const QKeyCombination pressed = sequence[0];
    const Qt::KeyboardModifiers held = pressed.keyboardModifiers();
    uint32_t modifiers = 0;
    for (const auto &[modifier, mask] : {std::pair{Qt::ShiftModifier, kMasks.shift},
                                         {Qt::ControlModifier, kMasks.control},
                                         {Qt::AltModifier, kMasks.alt},
                                         {Qt::MetaModifier, kMasks.meta}})
        if (held & modifier)
            modifiers |= mask;
    return Combination{pressed, modifiers};
}

QString GlobalKey::heldElsewhere(const QString &keys) {
    return tr("キー「%1」は別のプログラムが使っているため、Kobako を呼び出せません。\n"
              "設定ファイルの「hotkey=」の行で別のキーを選べます。")
        .arg(keys);
}

QString GlobalKey::noKey(const QString &keys) {
    return tr("「%1」はキーとして使えないため、Kobako を呼び出すキーはありません。\n"
              "設定ファイルの「hotkey=」の行を「hotkey=Ctrl+Alt+H」のように書いてください。")
        .arg(keys);
}

} // namespace kobako::platform
