#include "platform/translations.h"
#include "ui/settings_window.h"
#include "window_fixture.h"

#include <QLineEdit>
#include <QTranslator>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace kobako {
namespace {

// Under another language than Japanese the program speaks English; under Japanese and under C
// it stays the Japanese it is written in.
class ProgramTranslation : public testing::HistoryWindowTest {};

TEST_F(ProgramTranslation, AnotherLanguageGetsEnglishMessages) {
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
    auto *listMax = settings.findChild<QLineEdit *>(QStringLiteral("listMaxBox"));
    listMax->selectAll();
    QTest::keyClicks(listMax, QStringLiteral("abc"));
    settings.onOk();
    EXPECT_EQ(dialogs_.shown, QStringList{"Please enter a number."});
}

} // namespace
} // namespace kobako
