#include "platform/clipboard.h"
#include "platform/x11_clipboard_reader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace kobako {
namespace {

// Counts notifications, and how many arrived while a write of the program was under way.
class ClipboardContract : public ::testing::Test {
  protected:
    ClipboardContract() {
        QObject::connect(&clipboard, &platform::Clipboard::NewClipboardData, [this] {
            ++notifications;
            if (writing)
                ++duringWrite;
            lastText = clipboard.text();
        });
    }

    // Lets the event loop run, so that any late notification would arrive.
    static void settle(int milliseconds = 400) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < milliseconds)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    // Another program copies, and keeps serving the clipboard until the next copy.
    static void copyElsewhere(const QByteArray &data, const QString &target = {}) {
        QStringList arguments{QStringLiteral("-selection"), QStringLiteral("clipboard"),
                              QStringLiteral("-i")};
        if (!target.isEmpty())
            arguments << QStringLiteral("-t") << target;
        QProcess xclip;
        xclip.setStandardOutputFile(QProcess::nullDevice());
        xclip.setStandardErrorFile(QProcess::nullDevice());
        xclip.start(QStringLiteral("xclip"), arguments);
        xclip.write(data);
        xclip.closeWriteChannel();
        xclip.waitForFinished(5000);
    }

    platform::Clipboard clipboard{platform::X11ClipboardReader::open()};
    int notifications = 0;
    int duringWrite = 0;
    bool writing = false;
    std::optional<std::string> lastText;
};

TEST_F(ClipboardContract, OwnWritesAreAnnouncedOnceDuringTheWriteAndNeverLater) {
    settle();
    notifications = 0;
    for (int round = 0; round < 3; ++round) {
        writing = true;
        clipboard.SetText("written " + std::to_string(round));
        writing = false;
        EXPECT_EQ(duringWrite, 1);
        EXPECT_EQ(lastText, "written " + std::to_string(round));
        settle();
        EXPECT_EQ(notifications, 1) << "a late announcement of SetText";

        writing = true;
        clipboard.Clear();
        writing = false;
        EXPECT_EQ(duringWrite, 2);
        EXPECT_FALSE(lastText.has_value());
        settle();
        EXPECT_EQ(notifications, 2) << "a late announcement of Clear";
        notifications = duringWrite = 0;
    }
}

TEST_F(ClipboardContract, OtherProgramsCopiesAreAnnouncedAndRead) {
    copyElsewhere("from xclip 日本語");
    QTRY_COMPARE_WITH_TIMEOUT(notifications, 1, 3000);
    EXPECT_EQ(lastText, "from xclip 日本語");

    copyElsewhere(QByteArray(3 * 1024 * 1024, 'm'));
    QTRY_COMPARE_WITH_TIMEOUT(notifications, 2, 5000);
    ASSERT_TRUE(lastText.has_value());
    EXPECT_EQ(lastText->size(), 3u * 1024 * 1024);

    copyElsewhere(QByteArray("\x89PNG\r\n\x1a\n", 8), QStringLiteral("image/png"));
    QTRY_COMPARE_WITH_TIMEOUT(notifications, 3, 3000);
    EXPECT_FALSE(lastText.has_value());
    settle();
    EXPECT_EQ(notifications, 3);
}

} // namespace
} // namespace kobako

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
