#pragma once

#include "core/clipboard_writer.h"

#include <QObject>

#include <functional>
#include <optional>
#include <string>

namespace kobako::platform {

// The system clipboard (the CLIPBOARD selection), plain text only.
//
// NewClipboardData is raised once for every change of the clipboard. For the program's own write
// it is raised exactly once, before the write returns, and never again later: Qt's own signals
// are dropped while a write is under way, since on X11 some of them arrive only later from the
// event loop.
class Clipboard : public QObject, public ClipboardWriter {
    Q_OBJECT
  public:
    explicit Clipboard(QObject *parent = nullptr);

    // The clipboard's text, or nothing when it offers no text (an image, files, an emptied
    // clipboard) or a password manager marked its contents secret.
    std::optional<std::string> text() const;

    void Clear() override;
    void SetText(const std::string &text) override;

  signals:
    void NewClipboardData();

  private:
    void write(const std::function<void()> &qtWrite);
    bool writing_ = false;
};

} // namespace kobako::platform
