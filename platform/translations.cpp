#include "translations.h"

#include "language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <functional>
#include <memory>

namespace kobako::platform {

namespace {

// A translator that `load` fills, installed; none when there is nothing to load.
QTranslator *installLoaded(QCoreApplication &application,
                           const std::function<bool(QTranslator &)> &load) {
    auto translator = std::make_unique<QTranslator>();
    if (!load(*translator))
        return nullptr;
    translator->setParent(&application);
    QCoreApplication::installTranslator(translator.get());
    return translator.release();
}

} // namespace

QTranslator *installQtTranslations(QCoreApplication &application, const QLocale &locale) {
    const QLocale language = japaneseWanted() ? QLocale(QLocale::Japanese) : locale;
    return installLoaded(application, [&language](QTranslator &translator) {
        return translator.load(language, QStringLiteral("qtbase"), QStringLiteral("_"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    });
}

QTranslator *installProgramTranslation(QCoreApplication &application) {
    if (japaneseWanted())
        return nullptr;
    return installLoaded(application, [](QTranslator &translator) {
        return translator.load(QStringLiteral(":/translations/kobako_en.qm"));
    });
}

} // namespace kobako::platform
