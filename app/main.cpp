// The program. Before Qt sets itself up (20 ms and more), it starts watching the clipboard,
// reading the history file and reading fontconfig's configuration, so that a copy made in the
// first instants after launch is caught and the window has its history at once.
#include "command_line.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "platform/instance_door.h"
#include "platform/language.h"
#include "platform/paste_after_pick.h"
#include "platform/process.h"
#include "platform/termination_signals.h"
#include "platform/translations.h"
#ifdef _WIN32
#include "platform/windows/clipboard_watch_windows.h"
#else
#include "platform/bridged_clipboard.h"
#include "platform/wayland/clipboard.h"
#include "platform/x11/clipboard_reader.h"
#endif
#include "storage/directory_lock.h"
#include "storage/files.h"
#include "storage/history_file.h"
#include "ui/history_window.h"

#include <QApplication>
#include <QTimer>

#ifndef _WIN32
#include <fontconfig/fontconfig.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <future>
#include <optional>
#include <thread>

namespace {

#ifdef _WIN32

std::unique_ptr<kobako::ClipboardWatch> watchTheClipboard() {
    return kobako::platform::WindowsClipboardWatch::open();
}

#else

// Under Wayland a background program cannot watch the clipboard; XWayland lets it.
void preferXWayland() {
    if (std::getenv("WAYLAND_DISPLAY") && std::getenv("DISPLAY"))
        setenv("QT_QPA_PLATFORM", "xcb", /*overwrite=*/0);
}

bool qtWillUseX11() {
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    return !platform || !*platform || std::strcmp(platform, "xcb") == 0;
}

// One way of watching the clipboard, chosen once: a Wayland compositor's data control where it
// is offered (it sees every copy, whichever window has the keyboard), with the X display beside
// it for X programs' copies; else the X11 reader where Qt works on X11; else (nothing) Qt's own
// clipboard.
std::unique_ptr<kobako::ClipboardWatch> watchTheClipboard() {
    using namespace kobako::platform;
    preferXWayland();
    std::unique_ptr<X11ClipboardReader> x11 =
        std::getenv("DISPLAY") ? X11ClipboardReader::open() : nullptr;
#ifdef KOBAKO_WAYLAND
    if (auto wayland = WaylandClipboard::open(x11.get())) {
        typeThroughCompositor(*wayland);
        if (!x11)
            return wayland;
        return std::make_unique<BridgedClipboard>(std::move(x11), std::move(wayland));
    }
#endif
    if (x11 && qtWillUseX11())
        return x11;
    return nullptr;
}

#endif

// Moves into the directory the command line names, making the data directory when missing; the
// files then lie in the directory current at start-up, as without the option. False when that
// cannot be done, after saying why.
bool enterDirectory(const kobako::app::CommandLine &line) {
    using namespace kobako;
    if (!line.directory)
        return true;
    storage::WriteResult made;
    if (line.makeDirectory)
        made = storage::makePrivateDirectories(*line.directory);
    std::string reason = made.written() ? std::string() : made.failure().reason;
    std::error_code entered;
    if (reason.empty())
        std::filesystem::current_path(std::u8string(line.directory->begin(), line.directory->end()),
                                      entered);
    if (reason.empty() && entered)
        reason = entered.message();
    if (reason.empty())
        return true;
    std::fprintf(stderr,
                 platform::japaneseWanted() ? "kobako: ディレクトリ %s を使えません: %s\n"
                                            : "kobako: cannot use the directory %s: %s\n",
                 line.directory->c_str(), reason.c_str());
    return false;
}

// The texts the command line asks for, or its refusal: the exit status, or nothing to run on.
std::optional<int> answerCommandLine(const kobako::app::CommandLine &line) {
    using kobako::app::CommandLine;
    const bool japanese = kobako::platform::japaneseWanted();
    switch (line.action) {
    case CommandLine::Action::ShowHelp:
        std::fputs(kobako::app::usageText(japanese).c_str(), stdout);
        return 0;
    case CommandLine::Action::ShowVersion:
        std::fputs(kobako::app::versionText().c_str(), stdout);
        return 0;
    case CommandLine::Action::Refuse:
        std::fprintf(stderr,
                     japanese ? "kobako: %s は使えません。\n%s"
                              : "kobako: %s cannot be used here.\n%s",
                     line.refused.c_str(), kobako::app::usageText(japanese).c_str());
        return 2;
    case CommandLine::Action::Run:
        break;
    }
    return std::nullopt;
}

// Once the window is up, so that the start is not held up by the font listing.
void warnWithoutJapaneseFont() {
    using namespace kobako;
    if (!platform::japaneseFontInstalled())
        std::fputs(platform::japaneseWanted()
                       ? "kobako: 日本語のフォントがありません。文字が四角で表示されます。"
                         "fonts-noto-cjk を入れてください。\n"
                       : "kobako: no font for Japanese is installed; Japanese texts show as "
                         "boxes. Install fonts-noto-cjk.\n",
                   stderr);
}

// Says why the program does not start, until the message is closed or a termination signal
// ends it; the exit status.
int refuseToStart(const QString &why) {
    std::fprintf(stderr, "kobako: %s\n", why.toLocal8Bit().constData());
    kobako::platform::MessageBoxDialogs(nullptr).message(why, &QCoreApplication::quit);
    QApplication::exec();
    return 1;
}

// Another Kobako already works in the directory: it is brought forward, and this one says so;
// asked to call it (--show), this one ends quietly once it heard.
int yieldToTheRunningOne(const kobako::storage::DirectoryLock &lock, const std::string &directory,
                         bool summon) {
    if (kobako::platform::InstanceDoor::knock(lock.path(), summon) && summon)
        return 0;
    return refuseToStart(QCoreApplication::translate(
                             "main", "このディレクトリではすでに Kobako が動いています。\n%1")
                             .arg(QString::fromStdString(directory)));
}

// The directory, or a file of the program's in it, is another user's: running beside that
// user's own Kobako would take the history over (a save makes the file the saver's), so this
// one does not start.
int refuseAnotherUsersFiles(const kobako::storage::ForeignOwner &foreign) {
    return refuseToStart(
        QCoreApplication::translate("main", "「%1」はほかのユーザー（%2）のものです。\n"
                                            "Kobako はほかのユーザーの履歴では動きません。")
            .arg(QString::fromStdString(foreign.path), QString::fromStdString(foreign.user)));
}

} // namespace

int main(int argc, char *argv[]) {
    using namespace kobako;
    platform::useOneHeap();
    platform::allowEveryFileHandle();
#ifdef _WIN32
    const auto dataHome = platform::environmentVariable("APPDATA");
#else
    const auto dataHome = platform::environmentVariable("XDG_DATA_HOME");
#endif
    const auto home = platform::environmentVariable("HOME");
    const app::CommandLine line = app::readCommandLine(platform::programArguments(argc, argv),
                                                       dataHome ? dataHome->c_str() : nullptr,
                                                       home ? home->c_str() : nullptr);
    if (const auto status = answerCommandLine(line))
        return *status;
    if (!enterDirectory(line))
        return 1;
    const storage::FileNames files{platform::currentDirectory(), platform::executableBaseName()};
    // Whether this instance may work here is settled before the clipboard is watched: copies
    // made while a refusal waits to be read must not pile up.
    const auto foreign = storage::ownedByAnotherUser(files.startDirectory, files.names());
    std::optional<storage::DirectoryLock> lock;
    if (!foreign)
        lock.emplace(files.startDirectory);
    const bool working = lock && lock->held();
    std::unique_ptr<ClipboardWatch> clipboardWatch = working ? watchTheClipboard() : nullptr;
    if (working && line.verbose)
        std::fprintf(stderr, "kobako: clipboard read and written through %s\n",
                     clipboardWatch ? clipboardWatch->describe().c_str() : "Qt's clipboard");
    std::future<storage::StoredHistory> storedHistory;
    if (working)
        storedHistory =
            std::async(std::launch::async, [files] { return storage::HistoryFile(files).read(); });
#ifndef _WIN32
    // Qt's first text layout would read fontconfig's configuration; it is read while Qt sets
    // itself up, which reads none, and to the end before anything is drawn: two readings at
    // once can corrupt fontconfig's shared state.
    std::thread readingFontConfiguration(FcInit);
#endif

    QApplication app(argc, argv);
#ifndef _WIN32
    readingFontConfiguration.join();
#endif
    QApplication::setQuitOnLastWindowClosed(false);
    platform::installQtTranslations(app, QLocale::system());
    platform::installProgramTranslation(app);
    // Before anything that could wait: a signal ends the program even before its window exists.
    platform::TerminationSignals termination;
    auto endEarly = QObject::connect(&termination, &platform::TerminationSignals::requested, &app,
                                     &QCoreApplication::quit);

    if (foreign)
        return refuseAnotherUsersFiles(*foreign);
    if (!working)
        return yieldToTheRunningOne(*lock, files.startDirectory, line.show);
    storage::removeStaleTemporaries(files.startDirectory, files.names());

    Settings settings;
    platform::Clipboard clipboard(std::move(clipboardWatch));
    platform::MessageBoxDialogs dialogs(nullptr);
    ui::HistoryWindow window(settings, clipboard, clipboard, dialogs, files);
    if (line.verbose)
        window.sayEachChange();
    window.readStoredHistoryAhead(std::move(storedHistory));
    window.load();
    window.showAtStart();
    // Paint the window once while it is out of sight, unless a copy is already bringing it back:
    // fonts and styles load now rather than during the first capture, when copies may be
    // arriving fast.
    QTimer::singleShot(0, &window, [&window] {
        if (window.isMinimized())
            window.grab();
    });
    QTimer::singleShot(0, &warnWithoutJapaneseFont);
    // After the work of the start (the history read, the fonts, the first painting).
    QTimer::singleShot(0, &platform::releaseFreeMemory);

    platform::InstanceDoor door(lock->path());
    QObject::connect(&door, &platform::InstanceDoor::knocked, &window,
                     [&window](bool summon) { summon ? window.summon() : window.comeForward(); });
    QObject::disconnect(endEarly);
    QObject::connect(&termination, &platform::TerminationSignals::requested, &window,
                     [&window] { window.saveAndEnd(false); });
    // The compositor gone, the session is over, as when the X server goes: saved and ended.
    clipboard.whenLost([&window] { window.saveAndEnd(false); });
    return QApplication::exec();
}
