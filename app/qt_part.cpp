#include "launch.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/instance_door.h"
#include "platform/process.h"
#include "platform/termination_signals.h"
#include "ui/form1.h"

#include <QApplication>
#include <QTimer>

extern "C" __attribute__((visibility("default"))) int kobakoRun(kobako::app::Launch *launch) {
    using namespace kobako;
    QApplication app(launch->argc, launch->argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // Before anything that could wait: a signal ends the program even before its window exists.
    platform::TerminationSignals termination;
    auto endEarly = QObject::connect(&termination, &platform::TerminationSignals::requested, &app,
                                     &QCoreApplication::quit);

    const std::string &directory = launch->files.startDirectory;
    platform::DirectoryLock lock(directory);
    if (!lock.held()) {
        platform::InstanceDoor::knock(lock.path()); // the running one comes forward
        platform::MessageBoxDialogs(nullptr).message(
            QStringLiteral("このディレクトリではすでに Kobako が動いています。\n%1")
                .arg(QString::fromStdString(directory)));
        return 1;
    }
    const std::string &base = launch->files.baseName;
    platform::removeStaleTemporaries(directory, {base + ".f1", base + ".f2", base + ".f3"});

    Settings settings;
    platform::Clipboard clipboard(std::move(launch->clipboardWatch));
    platform::MessageBoxDialogs dialogs(nullptr);
    ui::Form1 form(settings, clipboard, dialogs, launch->files);
    form.readStoredHistoryAhead(std::move(launch->storedHistory));
    form.Form_Load();
    form.showAtStart();
    // Paint the window once while it is out of sight, unless a copy is already bringing it back:
    // fonts and styles load now rather than during the first capture, when copies may be
    // arriving fast.
    QTimer::singleShot(0, &form, [&form] {
        if (form.isMinimized())
            form.grab();
    });

    platform::InstanceDoor door(lock.path());
    QObject::connect(&door, &platform::InstanceDoor::knocked, &form, &ui::Form1::comeForward);
    QObject::disconnect(endEarly);
    QObject::connect(&termination, &platform::TerminationSignals::requested, &form,
                     [&form] { form.saveAndEnd(false); });
    return QApplication::exec();
}
