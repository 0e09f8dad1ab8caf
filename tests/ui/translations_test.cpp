#include "platform/translations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTranslator>

#include <gtest/gtest.h>

#include <cstdlib>

namespace kobako {
namespace {

// Qt's own buttons speak the program's language: Japanese under a Japanese locale and under C,
// the locale's language under another.
TEST(QtTranslations, QtsOwnButtonsFollowTheProgramsLanguage) {
    struct Case {
        const char *lang;
        const char *cancel;
    };
    for (const Case &c : {Case{"ja_JP.UTF-8", "キャンセル"}, Case{"C.UTF-8", "キャンセル"},
                          Case{"de_DE.UTF-8", "Abbrechen"}}) {
        setenv("LANG", c.lang, 1);
        unsetenv("LC_ALL");
        unsetenv("LC_MESSAGES");
        unsetenv("LANGUAGE");
        QTranslator *translator = platform::installQtTranslations(
            *qApp, QLocale(QString::fromLatin1(c.lang).section(QLatin1Char('.'), 0, 0)));
        ASSERT_NE(translator, nullptr) << c.lang << ": qt6-translations-l10n missing?";
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
                  QString::fromUtf8(c.cancel))
            << c.lang;
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    unsetenv("LANG");
}

} // namespace
} // namespace kobako
