#include "platform/translations.h"
#include "ui/settings_window.h"
#include "ui/version_window.h"
#include "window_fixture.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTranslator>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace kobako {
namespace {

// Qt's own buttons speak the program's language: Japanese under a Japanese locale and under C,
// the locale's language under another.
TEST(QtTranslations, QtsOwnButtonsFollowTheProgramsLanguage) {
    for (auto [lang, cancel] :
         {std::pair{"ja_JP", "キャンセル"}, {"C", "キャンセル"}, {"de_DE", "Abbrechen"}}) {
        setenv("LANG", lang, 1);
        std::unique_ptr<QTranslator> translator(
            platform::installQtTranslations(*qApp, QLocale(QString::fromLatin1(lang))));
        ASSERT_NE(translator, nullptr) << lang << ": qt6-translations-l10n missing?";
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
                  QString::fromUtf8(cancel))
            << lang;
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
    const std::unique_ptr<QTranslator> english(platform::installProgramTranslation(*qApp));
    unsetenv("LANG");
    ASSERT_NE(english, nullptr);
    start();
    ui::SettingsWindow &settings = window_->settingsWindow();
    EXPECT_EQ(settings.windowTitle(), "Settings");
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
}

} // namespace
} // namespace kobako
