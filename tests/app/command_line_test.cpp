#include "command_line.h"

#include <gtest/gtest.h>

namespace kobako::app {
namespace {

using Action = CommandLine::Action;

// An option names the directory, asks for the help or the version, or is refused; --verbose
// goes with any other.
TEST(CommandLine, OptionsNameTheDirectoryOrAskForTextsOrAreRefused) {
    struct Case {
        std::vector<std::string> arguments;
        const char *dataHome;
        Action action;
        std::optional<std::string> directory;
        bool made = false;
    };
    using enum CommandLine::Action;
    const auto none = std::nullopt;
    const char *const unset = nullptr, *const home = "/home/u/.local/share/kobako";
    // A relative XDG_DATA_HOME is to be ignored.
    // clang-format off
    for (const Case &c : {
        Case{{}, unset, Run, none}, Case{{"-d", "/x", "--verbose"}, unset, Run, "/x"},
        Case{{"--directory", "/srv/clips"}, unset, Run, "/srv/clips"},
        Case{{"-d", "relative/dir"}, unset, Run, "relative/dir"},
        Case{{"--directory=/srv/clips"}, unset, Run, "/srv/clips"},
        Case{{"--data-home"}, unset, Run, home, true},
        Case{{"--data-home"}, "/data", Run, "/data/kobako", true},
        Case{{"--data-home"}, "data", Run, home, true},
        Case{{"--help"}, unset, ShowHelp, none}, Case{{"-d", "/x", "-h"}, unset, ShowHelp, "/x"},
        Case{{"--version"}, unset, ShowVersion, none}, Case{{"--directory"}, unset, Refuse, none},
        Case{{"--directory", ""}, unset, Refuse, none}, Case{{"--directory="}, unset, Refuse, none},
        Case{{"-d", "/a", "--data-home"}, unset, Refuse, "/a"},
        Case{{"--frobnicate"}, unset, Refuse, none}, Case{{"stray"}, unset, Refuse, none}}) {
        // clang-format on
        const CommandLine line = readCommandLine(c.arguments, c.dataHome, "/home/u");
        std::string shown;
        for (const auto &argument : c.arguments)
            shown += argument + " ";
        EXPECT_EQ(line.action, c.action) << shown;
        EXPECT_EQ(line.directory, c.directory) << shown;
        EXPECT_EQ(line.makeDirectory, c.made) << shown;
        EXPECT_EQ(line.verbose, shown.find("--verbose") != std::string::npos) << shown;
    }
}

TEST(CommandLine, WithoutAHomeTheDataDirectoryIsRefused) {
    EXPECT_EQ(readCommandLine({"--data-home"}, nullptr, nullptr).action, Action::Refuse);
    EXPECT_EQ(readCommandLine({"--data-home"}, "", "").action, Action::Refuse);
}

} // namespace
} // namespace kobako::app
