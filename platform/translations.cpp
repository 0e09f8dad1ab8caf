#include "translations.h"

#include "language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kobako::platform {

QTranslator *installQtTranslations(QCoreApplication &application, const QLocale &locale) {
    auto *translator = new QTranslator(&application);
    const QLocale language = japaneseWanted() ? QLocale(QLocale::Japanese) : locale;
    if (!translator->load(language, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

QTranslator *installProgramTranslation(QCoreApplication &application) {
    if (japaneseWanted())
        return nullptr;
    auto *translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral(":/translations/kobako_en.qm"))) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

} // namespace kobako::platform
