#pragma once

#include <string>

namespace kobako {

// What the pick rules need of the clipboard. A write is announced to the capture before it
// returns, so every state the capture reads must be up to date before either call.
class ClipboardWriter {
  public:
    virtual ~ClipboardWriter() = default;
    virtual void Clear() = 0;
    virtual void SetText(const std::string &text) = 0;
};

} // namespace kobako
