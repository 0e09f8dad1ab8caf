#include "help.h"

#include "platform/language.h"

#include <QCoreApplication>
#include <QFileInfo>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace kobako::ui {

namespace {

// On Windows the start directory is the user's own folder, guarded by its access list.
bool isOwnFile(const QFileInfo &file) {
#ifdef _WIN32
    return file.isFile();
#else
    return file.isFile() && !file.isSymLink() && file.ownerId() == getuid();
#endif
}

} // namespace

QString helpFile(const storage::FileNames &files) {
    // The start directory may be shared (/tmp): its help file is opened only when it is the
    // user's own ordinary file, since the desktop picks the program to open it by its content.
    const QString own = QString::fromStdString(files.inStartDirectory("Hako.hlp"));
    const QFileInfo ownInfo(own);
    if (isOwnFile(ownInfo))
        return own;
    const QString name = platform::japaneseWanted() ? QStringLiteral("help.ja.html")
                                                    : QStringLiteral("help.en.html");
    // Installed beside the program, or, in a build tree, in the sources.
    for (const QString &directory :
         {QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/kobako"),
          QCoreApplication::applicationDirPath() + QStringLiteral("/help"), // the Windows folder
          QStringLiteral(KOBAKO_SOURCE_HELP_DIR)}) {
        const QString candidate = directory + QLatin1Char('/') + name;
        if (QFileInfo(candidate).isFile())
            return QFileInfo(candidate).canonicalFilePath();
    }
    return {};
}

} // namespace kobako::ui
