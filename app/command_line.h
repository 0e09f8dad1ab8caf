#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kobako::app {

// What the command line asks for. Without options Kobako keeps its files in the directory it is
// started in.
struct CommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, Refuse };
    Action action = Action::Run;
    // Where to keep the files instead of the current directory.
    std::optional<std::string> directory;
    // The data directory is made when missing; a directory named by the user must exist.
    bool makeDirectory = false;
    // Say on standard error, once at start, which way the clipboard is watched.
    bool verbose = false;
    // Call the Kobako already running in the directory, as its key does (where a Wayland
    // compositor lets it take no key, the user binds this to a key).
    bool show = false;
    // What was wrong, for Refuse: the option in question.
    std::string refused;
};

// Reads the arguments after the program's name. "--data-home" names the per-user data
// directory, XDG_DATA_HOME/kobako (HOME/.local/share/kobako when that is unset or relative);
// on Windows APPDATA\Kobako.
CommandLine readCommandLine(const std::vector<std::string> &arguments, const char *dataHome,
                            const char *home);

// The usage text and the version line, in Japanese or in English.
std::string usageText(bool japanese);
std::string versionText();

} // namespace kobako::app
