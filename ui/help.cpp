#include "help.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>

namespace kobako::ui {

QString helpFile(const FileNames &files) {
    const QString own = QString::fromStdString(files.inStartDirectory("Hako.hlp"));
    if (QFileInfo(own).isFile())
        return own;
    const QString name = QLocale().language() == QLocale::Japanese ? QStringLiteral("help.ja.html")
                                                                   : QStringLiteral("help.en.html");
    // Installed beside the program, or, in a build tree, in the sources.
    for (const QString &directory :
         {QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/kobako"),
          QStringLiteral(KOBAKO_SOURCE_HELP_DIR)}) {
        const QString candidate = directory + QLatin1Char('/') + name;
        if (QFileInfo(candidate).isFile())
            return QFileInfo(candidate).canonicalFilePath();
    }
    return own;
}

} // namespace kobako::ui
