// Start at login on Windows: the Kobako value under the user's Run key.
#include "platform/autostart.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>

namespace kobako::platform {

namespace {

const QString kRunKey =
    QStringLiteral(R"(HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run)");
const QString kValue = QStringLiteral("Kobako");

} // namespace

bool startsAtLogin() {
    return QSettings(kRunKey, QSettings::NativeFormat).contains(kValue);
}

storage::WriteResult setStartAtLogin(bool on) {
    QSettings run(kRunKey, QSettings::NativeFormat);
    if (on)
        run.setValue(kValue, '"' +
                                 QDir::toNativeSeparators(QCoreApplication::applicationFilePath()) +
                                 QStringLiteral("\" --data-home"));
    else
        run.remove(kValue);
    run.sync();
    if (run.status() == QSettings::NoError)
        return {};
    return storage::WriteFailure{(kRunKey + '\\' + kValue).toStdString(), "access denied"};
}

} // namespace kobako::platform
