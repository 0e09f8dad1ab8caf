#include <QApplication>

#include <gtest/gtest.h>

// The window tests need an application object; they run on the offscreen platform, to which a
// run may give options (a screen of another density).
int main(int argc, char **argv) {
    if (!qEnvironmentVariable("QT_QPA_PLATFORM").startsWith(QStringLiteral("offscreen")))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
