#include "platform/translations.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

// The window tests need an application object; they run on the offscreen platform, to which a
// run may give options (a screen of another density). They check the program's own texts, so
// they run in its own language whatever the developer's locale, unless a run asks for English
// (KOBAKO_TEST_LANGUAGE=en).
int main(int argc, char **argv) {
    if (!qEnvironmentVariable("QT_QPA_PLATFORM").startsWith(QStringLiteral("offscreen")))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const bool english = qEnvironmentVariable("KOBAKO_TEST_LANGUAGE") == QStringLiteral("en");
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        unsetenv(name);
    setenv("LANG", english ? "en_US.UTF-8" : "C.UTF-8", 1);
    QApplication app(argc, argv);
    if (english)
        kobako::platform::installProgramTranslation(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
