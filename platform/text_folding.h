#pragma once

#include <string>
#include <string_view>

namespace kobako::platform {

// A UTF-8 text as a search compares it, case and width folded: Unicode NFKC ("ＡＢＣ" is "ABC",
// "ｶﾀｶﾅ" is "カタカナ"), then case folding.
std::string foldCaseAndWidth(std::string_view text);

} // namespace kobako::platform
