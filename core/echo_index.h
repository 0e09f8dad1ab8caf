#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kobako {

// Finds the program's own writes among clipboard changes quickly when many texts were picked (a
// pick all of a long list): the first history entry, in entry order, equal to a picked text not
// yet forgotten, and the first such pick. Comparing every entry with every pick would take
// 10,000 x 10,000 comparisons after a pick all of 10,000 entries.
class EchoIndex {
  public:
    // The picks changed: the index is built anew on the next search.
    void invalidate() { built_ = false; }

    // `entryAt(i)` gives entry i of `count`; `picks` holds `pickCount` valid picks, forgotten
    // ones empty. Returns the index of the matching pick.
    template <typename EntryAt>
    std::optional<int> find(int count, EntryAt entryAt, const std::vector<std::string> &picks,
                            int pickCount) {
        if (!built_)
            build(picks, pickCount);
        for (int i = 0; i < count; ++i) {
            const std::string &entry = entryAt(i);
            const auto candidates = index_.find(keyOf(entry));
            if (candidates == index_.end())
                continue;
            for (int j : candidates->second)
                if (j < pickCount && !picks[j].empty() && picks[j] == entry)
                    return j;
        }
        return std::nullopt;
    }

  private:
    // Cheap to take from a text of any size: its length and its two ends.
    static size_t keyOf(std::string_view text);
    void build(const std::vector<std::string> &picks, int pickCount);

    bool built_ = false;
    std::unordered_map<size_t, std::vector<int>> index_;
};

} // namespace kobako
