#pragma once

namespace kobako::platform {

// Whether the user's locale asks for Japanese, or for no language at all (C, POSIX, unset):
// then every text is the program's own Japanese. Any other language gets English.
bool japaneseWanted();

} // namespace kobako::platform
