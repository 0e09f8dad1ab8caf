// On Windows the end of the session (WM_QUERYENDSESSION, which Qt passes on as its commit data
// request) and a console's Ctrl+C, Ctrl+Break or close are the requests to end.
#include "platform/termination_signals.h"

#include <QGuiApplication>
#include <QPointer>
#include <QSessionManager>

#include <windows.h>

namespace kobako::platform {

namespace {

QPointer<TerminationSignals> listener;

// On a thread of the system's: the request goes to the event loop.
BOOL WINAPI onConsoleEvent(DWORD) {
    if (TerminationSignals *listening = listener.data())
        QMetaObject::invokeMethod(listening, &TerminationSignals::requested, Qt::QueuedConnection);
    return TRUE;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent) {
    listener = this;
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager &) { emit requested(); });
}

} // namespace kobako::platform
