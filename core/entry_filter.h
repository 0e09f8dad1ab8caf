#pragma once

#include "history.h"

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kobako {

// Finds entries by what the user types: an entry is shown when it holds every word typed (words
// are split at spaces), both compared folded, so that case and width do not count ("ＡＢＣ" finds
// "abc", "ｶﾀｶﾅ" finds "カタカナ"). Only an entry's first 64 KB is looked at. The folding is the
// platform's (Unicode NFKC and case folding). A text that folding would change only in the case
// of its ASCII letters (most texts: ASCII, kana, kanji) is searched as it is, ignoring that case;
// any other is folded once while the filter is in use. A word that grows, or one added, is looked
// for only among the entries found before.
class EntryFilter {
  public:
    static constexpr size_t kLookedAt = 64 << 10;
    using Fold = std::function<std::string(std::string_view)>;

    explicit EntryFilter(Fold fold);

    // The rows of `list` (newest first) that hold every word of `typed`, in their order; all of
    // them when nothing is typed. `revision` changes whenever the list's texts do.
    const std::vector<int> &find(std::string_view typed, const std::vector<ListEntry> &list,
                                 unsigned revision);
    // What was typed at the last `find`, folded: its words are those looked for.
    const std::string &foldedTyped() const { return typed_; }
    // The filter is put away: what it folded goes.
    void clear();

  private:
    // What is searched of a text: its first 64 KB as they are, or folded.
    struct Searched {
        SharedText text; // held, so that no other text comes to the same address
        bool asIs = true;
        std::string folded;
    };
    const Searched &searched(const SharedText &text);
    std::string foldStretches(std::string_view text) const;
    bool holdsEvery(const Searched &searched, const std::vector<std::string_view> &words) const;

    Fold fold_;
    std::string typed_; // folded, as last found
    unsigned revision_ = 0;
    bool found_ = false;
    std::vector<int> rows_;
    std::unordered_map<const std::string *, Searched> searched_;
};

} // namespace kobako
