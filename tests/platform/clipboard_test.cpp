#include "platform/clipboard.h"
#include "platform/x11_clipboard_reader.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace kobako {
namespace {

// Counts notifications, and how many arrived while a write of the program was under way.
class ClipboardContract : public ::testing::Test {
  protected:
    ClipboardContract() {
        clipboard.whenChanged([this] {
            ++notifications;
            if (writing)
                ++duringWrite;
            own = clipboard.origin() == ClipboardOrigin::OwnPickWrite;
            const QString offered = QGuiApplication::clipboard()->text();
            lastText = offered.isEmpty() ? std::nullopt : std::optional(offered.toStdString());
        });
    }

    // Lets the event loop run, so that any late notification would arrive.
    static void settle(int milliseconds = 400) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < milliseconds)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    platform::Clipboard clipboard{platform::X11ClipboardReader::open()};
    int notifications = 0;
    int duringWrite = 0;
    bool writing = false;
    bool own = false;
    std::optional<std::string> lastText; // what the clipboard offered during the announcement
};

TEST_F(ClipboardContract, OwnWritesAreAnnouncedOnceDuringTheWriteAndNeverLater) {
    settle();
    notifications = 0;
    for (int round = 0; round < 3; ++round) {
        writing = true;
        clipboard.setText("written " + std::to_string(round));
        writing = false;
        EXPECT_EQ(duringWrite, 1);
        EXPECT_TRUE(own);
        EXPECT_EQ(lastText, "written " + std::to_string(round));
        settle();
        EXPECT_EQ(notifications, 1) << "a late announcement of SetText";

        writing = true;
        clipboard.clear();
        writing = false;
        EXPECT_EQ(duringWrite, 2);
        EXPECT_FALSE(lastText.has_value());
        settle();
        EXPECT_EQ(notifications, 2) << "a late announcement of Clear";
        notifications = duringWrite = 0;
    }
}

} // namespace
} // namespace kobako

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
