#include "storage/file_names.h"
#include "ui/help.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace kobako {
namespace {

// A shared start directory may hold someone else's Hako.hlp, or a link to anything: only the
// user's own ordinary file is opened, otherwise the installed help.
TEST(HelpFile, OnlyTheUsersOwnHelpFileInTheStartDirectoryIsOpened) {
    QTemporaryDir directory;
    const storage::FileNames files{directory.path().toStdString(), "kobako"};
    const QString own = directory.filePath(QStringLiteral("Hako.hlp"));
    auto installedHelp = [&] {
        const QString chosen = ui::helpFile(files);
        return chosen != own && chosen.endsWith(QStringLiteral(".html"));
    };
    EXPECT_TRUE(installedHelp());

    QFile file(own);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(ui::helpFile(files), own);

    if (getuid() == 0) {
        ASSERT_EQ(chown(own.toLocal8Bit().constData(), 65534, 65534), 0); // nobody's
        EXPECT_TRUE(installedHelp());
    }
    QFile::remove(own);
    ASSERT_TRUE(QFile::link(QStringLiteral("/etc/hostname"), own));
    EXPECT_TRUE(installedHelp());
}

} // namespace
} // namespace kobako
