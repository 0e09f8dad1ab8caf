#include "command_line.h"

namespace kobako::app {

namespace {

#ifdef _WIN32
// The menu entry's counterpart on Windows: the user's roaming application data (%APPDATA%).
std::optional<std::string> dataDirectory(const char *dataHome, const char *) {
    if (dataHome && *dataHome)
        return std::string(dataHome) + "\\Kobako";
    return std::nullopt;
}
constexpr const char *kDataDirectoryShown = "%APPDATA%\\Kobako";
#else
std::optional<std::string> dataDirectory(const char *dataHome, const char *home) {
    // By the XDG base directory rules a relative value is ignored.
    if (dataHome && dataHome[0] == '/')
        return std::string(dataHome) + "/kobako";
    if (home && home[0] == '/')
        return std::string(home) + "/.local/share/kobako";
    return std::nullopt;
}
constexpr const char *kDataDirectoryShown = "$XDG_DATA_HOME/kobako (~/.local/share/kobako)";
#endif

} // namespace

CommandLine readCommandLine(const std::vector<std::string> &arguments, const char *dataHome,
                            const char *home) {
    CommandLine line;
    auto refuse = [&line](const std::string &what) {
        line.action = CommandLine::Action::Refuse;
        line.refused = what;
        return line;
    };
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        if (argument == "-h" || argument == "--help") {
            line.action = CommandLine::Action::ShowHelp;
            return line;
        }
        if (argument == "-v" || argument == "--version") {
            line.action = CommandLine::Action::ShowVersion;
            return line;
        }
        if (argument == "--verbose" || argument == "--show") {
            (argument == "--show" ? line.show : line.verbose) = true;
            continue;
        }
        if (line.directory)
            return refuse(argument); // one place for the files
        if (argument == "--data-home") {
            line.directory = dataDirectory(dataHome, home);
            line.makeDirectory = true;
            if (!line.directory)
                return refuse(argument);
        } else if (argument == "-d" || argument == "--directory") {
            if (i + 1 == arguments.size() || arguments[i + 1].empty())
                return refuse(argument);
            line.directory = arguments[++i];
        } else if (argument.starts_with("--directory=") && argument.size() > 12) {
            line.directory = argument.substr(12);
        } else {
            return refuse(argument);
        }
    }
    return line;
}

std::string usageText(bool japanese) {
    if (japanese)
        return "使い方: kobako [オプション]\n"
               "コピーしたテキストを覚えておく、いつも手前の小さなクリップボード履歴です。\n"
               "ファイル (kobako.f1, kobako.f2, kobako.f3) は起動したディレクトリに置きます。\n"
               "\n"
               "  -d, --directory DIR  ファイルを DIR に置く\n"
               "      --data-home      ファイルを " +
               std::string(kDataDirectoryShown) +
               " に置く\n"
               "      --show           動いている Kobako を呼び出し、キーボードを渡す\n"
               "      --verbose        クリップボードの読み方と、コピーをどう扱ったかを表示する\n"
               "  -h, --help           この説明を表示して終わる\n"
               "  -v, --version        バージョンを表示して終わる\n";
    return "Usage: kobako [OPTION]\n"
           "A small, always-on-top clipboard history that keeps the texts you copy.\n"
           "Its files (kobako.f1, kobako.f2, kobako.f3) are kept in the directory it starts in.\n"
           "\n"
           "  -d, --directory DIR  keep the files in DIR\n"
           "      --data-home      keep the files in " +
           std::string(kDataDirectoryShown) +
           "\n"
           "      --show           call the running Kobako and give it the keyboard\n"
           "      --verbose        say how the clipboard is read and what becomes of each copy\n"
           "  -h, --help           show this help and exit\n"
           "  -v, --version        show the version and exit\n";
}

std::string versionText() {
    return "Kobako " KOBAKO_VERSION "\n";
}

} // namespace kobako::app
