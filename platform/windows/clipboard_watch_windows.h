#pragma once

#include "platform/clipboard_watch.h"

#include <memory>
#include <thread>

namespace kobako::platform {

// The Windows clipboard, watched from a thread and a hidden window of its own (the clipboard
// format listener): each copy another program makes is read there, so that a huge text or an
// owner slow to render it never holds up the window. The marks by which password managers keep a
// copy out of histories are honoured, and a text larger than the largest the history takes is
// not read. The program's own writes, made through Qt, are left to Qt.
class WindowsClipboardWatch final : public ClipboardWatch {
  public:
    // Nothing when the listener cannot be set up.
    static std::unique_ptr<WindowsClipboardWatch> open();
    ~WindowsClipboardWatch() override;

    void setListener(Listener listener) override;
    std::string describe() const override { return "the Windows clipboard format listener"; }

    struct Thread;

  private:
    explicit WindowsClipboardWatch(std::unique_ptr<Thread> thread);
    std::unique_ptr<Thread> thread_;
};

} // namespace kobako::platform
