#include "echo_index.h"

#include <algorithm>
#include <functional>

namespace kobako {

size_t EchoIndex::keyOf(std::string_view text) {
    constexpr size_t kEnd = 32;
    const size_t end = std::min(text.size(), kEnd);
    size_t key = std::hash<std::string_view>{}(text.substr(0, end));
    key ^= std::hash<std::string_view>{}(text.substr(text.size() - end)) * 31;
    return key ^ (text.size() * 0x9E3779B97F4A7C15ull);
}

void EchoIndex::build(const std::vector<std::string> &picks, int pickCount) {
    index_.clear();
    for (int j = 0; j < pickCount; ++j)
        if (!picks[j].empty())
            index_[keyOf(picks[j])].push_back(j); // ascending: the first pick comes first
    built_ = true;
}

} // namespace kobako
