#pragma once

#include "shared_text.h"

namespace kobako {

// Who changed the clipboard. The program's own pick writes come back as notifications during the
// write: they are echoes and never become entries. Every other change is a copy, also one made
// with Ctrl+C inside the program's own text boxes.
enum class ClipboardOrigin { Elsewhere, OwnPickWrite };

// What the pick rules need of the clipboard. A write is announced to the capture before it
// returns, so every state the capture reads must be up to date before either call.
class ClipboardWriter {
  public:
    virtual ~ClipboardWriter() = default;
    virtual void Clear() = 0;
    virtual void SetText(const SharedText &text) = 0;
};

} // namespace kobako
