#include "command_line.h"

#include <gtest/gtest.h>

namespace kobako::app {
namespace {

using Action = CommandLine::Action;

struct Case {
    std::vector<std::string> arguments;
    const char *dataHome;
    Action action;
    std::optional<std::string> directory;
    bool made;
};

TEST(CommandLine, VerboseGoesWithAnyOtherOption) {
    const CommandLine line = readCommandLine({"-d", "/x", "--verbose"}, nullptr, "/home/u");
    EXPECT_EQ(line.action, CommandLine::Action::Run);
    EXPECT_EQ(line.directory, "/x");
    EXPECT_TRUE(line.verbose);
    EXPECT_FALSE(readCommandLine({"-d", "/x"}, nullptr, "/home/u").verbose);
}

TEST(CommandLine, OptionsNameTheDirectoryOrAskForTextsOrAreRefused) {
    const Case cases[] = {
        {{}, nullptr, Action::Run, std::nullopt, false},
        {{"--directory", "/srv/clips"}, nullptr, Action::Run, "/srv/clips", false},
        {{"-d", "relative/dir"}, nullptr, Action::Run, "relative/dir", false},
        {{"--directory=/srv/clips"}, nullptr, Action::Run, "/srv/clips", false},
        {{"--data-home"}, nullptr, Action::Run, "/home/u/.local/share/kobako", true},
        {{"--data-home"}, "/data", Action::Run, "/data/kobako", true},
        // A relative XDG_DATA_HOME is to be ignored.
        {{"--data-home"}, "data", Action::Run, "/home/u/.local/share/kobako", true},
        {{"--help"}, nullptr, Action::ShowHelp, std::nullopt, false},
        {{"-d", "/x", "-h"}, nullptr, Action::ShowHelp, "/x", false},
        {{"--version"}, nullptr, Action::ShowVersion, std::nullopt, false},
        {{"--directory"}, nullptr, Action::Refuse, std::nullopt, false},
        {{"--directory", ""}, nullptr, Action::Refuse, std::nullopt, false},
        {{"--directory="}, nullptr, Action::Refuse, std::nullopt, false},
        {{"-d", "/a", "--data-home"}, nullptr, Action::Refuse, "/a", false},
        {{"--frobnicate"}, nullptr, Action::Refuse, std::nullopt, false},
        {{"stray"}, nullptr, Action::Refuse, std::nullopt, false},
    };
    for (const Case &c : cases) {
        const CommandLine line = readCommandLine(c.arguments, c.dataHome, "/home/u");
        std::string shown;
        for (const auto &argument : c.arguments)
            shown += argument + " ";
        EXPECT_EQ(line.action, c.action) << shown;
        EXPECT_EQ(line.directory, c.directory) << shown;
        EXPECT_EQ(line.makeDirectory, c.made) << shown;
    }
}

TEST(CommandLine, WithoutAHomeTheDataDirectoryIsRefused) {
    EXPECT_EQ(readCommandLine({"--data-home"}, nullptr, nullptr).action, Action::Refuse);
    EXPECT_EQ(readCommandLine({"--data-home"}, "", "").action, Action::Refuse);
}

} // namespace
} // namespace kobako::app
