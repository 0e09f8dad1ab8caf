// Start at login on the Linux desktops: an XDG autostart entry, which the session starts.
#include "platform/autostart.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>

namespace kobako::platform {

namespace {

QString entryPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/kobako.desktop");
}

// The program's path as one quoted argument of the Exec line: the characters special inside
// quotes escaped, then every backslash escaped once more, as the entry's strings are.
QString execArgument(QString path) {
    for (const char *special : {"\\", "\"", "`", "$"})
        path.replace(QLatin1String(special), QLatin1String("\\") + QLatin1String(special));
    return '"' + path.replace('\\', QLatin1String("\\\\")).replace('%', QLatin1String("%%")) + '"';
}

storage::WriteResult failure(const QString &path, const QFileDevice &file) {
    return storage::WriteFailure{path.toStdString(), file.errorString().toStdString()};
}

} // namespace

bool startsAtLogin() {
    return QFileInfo(entryPath()).isFile();
}

storage::WriteResult setStartAtLogin(bool on) {
    const QString path = entryPath();
    if (!on) {
        QFile entry(path);
        return !entry.exists() || entry.remove() ? storage::WriteResult{} : failure(path, entry);
    }
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile entry(path);
    if (!entry.open(QIODevice::WriteOnly))
        return failure(path, entry);
    entry.write("[Desktop Entry]\nType=Application\nName=Kobako\nName[ja]=Kobako（小箱）\n"
                "Comment=Keep every text you copy and put it back with one click\n"
                "Comment[ja]=コピーしたテキストを覚えておき、クリックひとつで元に戻します\n"
                "Icon=kobako\nTerminal=false\nExec=" +
                execArgument(QCoreApplication::applicationFilePath()).toUtf8() + " --data-home\n");
    return entry.commit() ? storage::WriteResult{} : failure(path, entry);
}

} // namespace kobako::platform
