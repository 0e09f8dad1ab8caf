#include "platform/translations.h"
#include "ui/settings_window.h"
#include "ui/version_window.h"
#include "window_fixture.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
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

// Under another language than Japanese every text of the program is English; under Japanese
// and under C it stays the Japanese it is written in.
class ProgramTranslation : public testing::HistoryWindowTest {};

TEST_F(ProgramTranslation, AnotherLanguageGetsAnEnglishSettingsWindowAndMessages) {
    for (const char *lang : {"ja_JP.UTF-8", "C"}) {
        setenv("LANG", lang, 1);
        EXPECT_EQ(platform::installProgramTranslation(*qApp), nullptr) << lang;
    }
    setenv("LANG", "en_US.UTF-8", 1);
    QTranslator *english = platform::installProgramTranslation(*qApp);
    unsetenv("LANG");
    ASSERT_NE(english, nullptr);
    start();
    ui::SettingsWindow &settings = window_->settingsWindow();
    EXPECT_EQ(settings.windowTitle(), "Settings");
    EXPECT_EQ(settings.findChild<QRadioButton *>(QStringLiteral("slotsOption"))->text(),
              "Text boxes");
    // The longer English captions push rows apart; the two number boxes and their spins still
    // stand one above the other.
    auto x = [&](const char *name) { return settings.findChild<QWidget *>(name)->x(); };
    EXPECT_EQ(x("listMaxBox"), x("iconHeightBox"));
    EXPECT_EQ(x("listMaxSpin"), x("iconHeightSpin"));
    ui::VersionWindow version(&settings);
    EXPECT_EQ(version.windowTitle(), "Version");
    for (const QLabel *label : version.findChildren<QLabel *>())
        EXPECT_FALSE(
            label->text().contains(QRegularExpression(QStringLiteral("[\\x{3000}-\\x{9fff}]"))))
            << label->text().toStdString();
    auto *listMax = settings.findChild<QLineEdit *>(QStringLiteral("listMaxBox"));
    listMax->selectAll();
    QTest::keyClicks(listMax, QStringLiteral("abc"));
    settings.onOk();
    EXPECT_EQ(dialogs_.shown, QStringList{"Please enter a number."});
    QCoreApplication::removeTranslator(english);
    delete english;
}

} // namespace
} // namespace kobako
