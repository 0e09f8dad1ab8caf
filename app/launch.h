#pragma once

#include "platform/clipboard_watch.h"
#include "ui/persistence.h"

#include <future>
#include <memory>

namespace kobako::app {

// What the launcher has started before Qt is loaded, handed over to the Qt part.
struct Launch {
    int argc;
    char **argv;
    std::unique_ptr<platform::ClipboardWatch> clipboardWatch; // none away from X11
    ui::FileNames files;
    std::future<ui::StoredRecords> storedHistory;
};

} // namespace kobako::app

// The Qt part of the program, in a module of its own that the launcher loads; its exit status.
extern "C" int kobakoRun(kobako::app::Launch *launch);
