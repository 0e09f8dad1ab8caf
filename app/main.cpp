#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/process.h"
#include "platform/x11_clipboard_reader.h"
#include "ui/form1.h"

#include <QApplication>
#include <QTimer>

#include <future>

int main(int argc, char *argv[]) {
    // Under Wayland a background program cannot watch the clipboard; XWayland lets it.
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && qEnvironmentVariableIsSet("DISPLAY") &&
        !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    // Watch the clipboard before Qt starts up, so that a copy made right at launch is caught.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    auto reader = platform.isEmpty() || platform == "xcb"
                      ? kobako::platform::X11ClipboardReader::open()
                      : nullptr;

    // Read the history file meanwhile: it needs neither Qt nor the settings.
    const kobako::ui::FileNames files{kobako::platform::currentDirectory(),
                                      kobako::platform::executableBaseName()};
    auto storedHistory =
        std::async(std::launch::async, [files] { return kobako::ui::SlotFileRead(files); });

    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    using namespace kobako;
    const std::string &directory = files.startDirectory;
    platform::DirectoryLock lock(directory);
    if (!lock.held()) {
        platform::MessageBoxDialogs(nullptr).message(
            QStringLiteral("このディレクトリではすでに Kobako が動いています。\n%1")
                .arg(QString::fromStdString(directory)));
        return 1;
    }

    Settings settings;
    platform::Clipboard clipboard(std::move(reader));
    platform::MessageBoxDialogs dialogs(nullptr);
    ui::Form1 form(settings, clipboard, dialogs, files);
    form.readStoredHistoryAhead(std::move(storedHistory));
    form.Form_Load();
    form.show();
    // Paint the window once while it is out of sight: fonts and styles load now rather than
    // during the first capture, when copies may be arriving fast.
    QTimer::singleShot(0, &form, [&form] { form.grab(); });

    platform::TerminationSignals termination;
    QObject::connect(&termination, &platform::TerminationSignals::requested, &form,
                     [&form] { form.saveAndEnd(false); });
    return QApplication::exec();
}
