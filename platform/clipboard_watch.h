#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace kobako::platform {

// Something that watches the system clipboard from outside Qt and reports the text of each
// change. The program starts one before Qt is loaded and hands it over, so that only this
// interface crosses into the part of the program that uses Qt.
class ClipboardWatch {
  public:
    // The text of one change, or nothing when it offers no text or is marked secret.
    using Listener = std::function<void(std::optional<std::string>)>;

    virtual ~ClipboardWatch() = default;
    // Changes that came before a listener was set are reported to it at once, in order.
    virtual void setListener(Listener listener) = 0;
    // Changes made by any window of the X client whose resource ids these are (the program's
    // own connection, through Qt) are the program's own and are not reported.
    virtual void ignoreClient(uint32_t resourceBase, uint32_t resourceMask) = 0;
};

} // namespace kobako::platform
