#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace kobako {

// A text of the history, shared instead of copied: a save takes its snapshot of the history by
// sharing the texts, and a pick hands the clipboard the text itself. A text never changes once
// made; a change makes a new one.
class SharedText {
  public:
    SharedText() = default;
    SharedText(std::string text) // NOLINT: a text is a text, shared or not
        : text_(text.empty() ? nullptr : std::make_shared<const std::string>(std::move(text))) {}
    SharedText(const char *text) : SharedText(std::string(text)) {}

    const std::string &str() const { return text_ ? *text_ : none(); }
    operator const std::string &() const { return str(); } // NOLINT: read as a plain text
    bool empty() const { return str().empty(); }
    size_t size() const { return str().size(); }
    void clear() { text_.reset(); }

    friend bool operator==(const SharedText &a, const SharedText &b) { return a.str() == b.str(); }
    friend bool operator==(const SharedText &a, const std::string &b) { return a.str() == b; }
    friend bool operator==(const SharedText &a, std::string_view b) { return a.str() == b; }
    friend bool operator==(const SharedText &a, const char *b) { return a.str() == b; }

  private:
    static const std::string &none() {
        static const std::string empty;
        return empty;
    }
    std::shared_ptr<const std::string> text_;
};

} // namespace kobako
