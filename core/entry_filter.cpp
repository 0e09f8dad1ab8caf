#include "entry_filter.h"

#include <algorithm>

namespace kobako {

namespace {

std::vector<std::string_view> wordsOf(std::string_view text) {
    std::vector<std::string_view> words;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find(' ', start), text.size());
        if (end > start)
            words.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

// A byte inside a UTF-8 character, after its first.
bool isContinuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The first 64 KB, not cutting a character.
std::string_view lookedAt(const std::string &text) {
    size_t end = std::min(text.size(), EntryFilter::kLookedAt);
    while (end < text.size() && end > 0 && isContinuation(text[end]))
        --end;
    return std::string_view(text).substr(0, end);
}

// Characters that NFKC and case folding leave alone: Japanese kana and kanji and the common
// Japanese punctuation. Anything else outside ASCII is left to the platform's folding.
bool foldsToItself(char32_t c) {
    return (c >= 0x3041 && c <= 0x3096) || // hiragana
           (c >= 0x30A1 && c <= 0x30FA) || // katakana
           c == 0x30FC ||                  // the long vowel mark
           (c >= 0x4E00 && c <= 0x9FFF) || // kanji
           c == 0x3001 || c == 0x3002 || c == 0x300C || c == 0x300D;
}

// The length of the character at `at` when folding changes nothing in it but the case of an
// ASCII letter: 1 for ASCII, 3 for the characters above; 0 for any other (or a broken one).
size_t keptLength(std::string_view text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80)
        return 1;
    // Three-byte sequences hold every character above; anything else is folded.
    if ((lead & 0xF0) != 0xE0 || at + 2 >= text.size())
        return 0;
    const char32_t c = (char32_t(lead & 0x0F) << 12) |
                       (char32_t(static_cast<unsigned char>(text[at + 1]) & 0x3F) << 6) |
                       char32_t(static_cast<unsigned char>(text[at + 2]) & 0x3F);
    return foldsToItself(c) ? 3 : 0;
}

// Whether folding changes nothing in `text` but the case of ASCII letters.
bool foldsAsAscii(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const size_t length = keptLength(text, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

size_t nextCharacter(std::string_view text, size_t at) {
    do
        ++at;
    while (at < text.size() && isContinuation(text[at]));
    return at;
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isLowerAscii(char c) {
    return c >= 'a' && c <= 'z';
}

// Whether `text` holds `word` (folded: its letters lower case) ignoring the case of ASCII
// letters. The word's first letter is looked for in each case alone, by the library's fast
// scan for one byte; most texts hold it seldom.
bool holdsIgnoringAsciiCase(std::string_view text, std::string_view word) {
    const auto letter = std::ranges::find_if(word, isLowerAscii);
    if (letter == word.end())
        return text.find(word) != std::string_view::npos;
    const size_t before = static_cast<size_t>(letter - word.begin());
    const auto equalFrom = [&](size_t at) {
        return at >= before && text.size() - (at - before) >= word.size() &&
               std::ranges::equal(text.substr(at - before, word.size()), word, {}, lowerAscii);
    };
    for (const char c : {*letter, static_cast<char>(*letter - 'a' + 'A')})
        for (size_t at = text.find(c); at != std::string_view::npos; at = text.find(c, at + 1))
            if (equalFrom(at))
                return true;
    return false;
}

} // namespace

EntryFilter::EntryFilter(Fold fold) : fold_(std::move(fold)) {}

const std::vector<int> &EntryFilter::find(std::string_view typed,
                                          const std::vector<ListEntry> &list, unsigned revision) {
    std::string foldedTyped = fold_(typed);
    const std::vector<std::string_view> words = wordsOf(foldedTyped);
    // Every entry that holds the longer words holds the shorter ones they grew from.
    const bool narrows = found_ && revision == revision_ && foldedTyped.starts_with(typed_);
    std::vector<int> candidates;
    if (narrows) {
        candidates = std::move(rows_);
    } else {
        candidates.resize(list.size());
        for (size_t i = 0; i < list.size(); ++i)
            candidates[i] = static_cast<int>(i);
    }
    rows_.clear();
    for (const int row : candidates)
        if (words.empty() || holdsEvery(searched(list[row].text), words))
            rows_.push_back(row);
    typed_ = std::move(foldedTyped);
    revision_ = revision;
    found_ = true;
    return rows_;
}

void EntryFilter::clear() {
    found_ = false;
    rows_.clear();
    searched_.clear();
}

// As the platform folds it, with the platform asked only for the stretches that folding may
// change (most of a text is ASCII or Japanese that folds to itself), each with the character
// before it, which a combining mark at its start composes with.
std::string EntryFilter::foldStretches(std::string_view text) const {
    std::string folded;
    folded.reserve(text.size());
    size_t lastKept = 0; // the length of the character folded last, when it was kept
    for (size_t i = 0; i < text.size();) {
        if (const size_t length = keptLength(text, i)) {
            if (length == 1)
                folded += lowerAscii(text[i]);
            else
                folded += text.substr(i, length);
            lastKept = length;
            i += length;
            continue;
        }
        const size_t start = i - lastKept;
        folded.resize(folded.size() - lastKept);
        size_t end = i;
        while (end < text.size() && keptLength(text, end) == 0)
            end = nextCharacter(text, end);
        folded += fold_(text.substr(start, end - start));
        lastKept = 0;
        i = end;
    }
    return folded;
}

const EntryFilter::Searched &EntryFilter::searched(const SharedText &text) {
    const std::string &whole = text.str();
    auto known = searched_.find(&whole);
    if (known != searched_.end())
        return known->second;
    Searched searched{text, true, {}};
    if (const std::string_view looked = lookedAt(whole); !foldsAsAscii(looked)) {
        searched.asIs = false;
        searched.folded = foldStretches(looked);
    }
    return searched_.emplace(&whole, std::move(searched)).first->second;
}

// The words are folded: their ASCII letters are lower case, and a text searched as it is holds
// its other characters as folding would leave them.
bool EntryFilter::holdsEvery(const Searched &searched,
                             const std::vector<std::string_view> &words) const {
    if (!searched.asIs)
        return std::ranges::all_of(words, [&](std::string_view word) {
            return searched.folded.find(word) != std::string::npos;
        });
    const std::string_view text = lookedAt(searched.text.str());
    return std::ranges::all_of(
        words, [&](std::string_view word) { return holdsIgnoringAsciiCase(text, word); });
}

} // namespace kobako
