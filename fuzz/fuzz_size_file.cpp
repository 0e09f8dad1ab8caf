#include "core/size_file.h"
#include "core/text_lines.h"

#include <cstdlib>

// Any bytes give a usable size, and a written size reads back as itself.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // Decoded line by line, as the program reads the file.
    const std::string text =
        kobako::decodeLines(std::string_view(reinterpret_cast<const char *>(data), size));
    const kobako::SavedSize read = kobako::readSizeFile(text);
    if (!(read.savedHeight >= kobako::SavedSize::kSmallest) ||
        !(read.savedWidth >= kobako::SavedSize::kSmallest))
        std::abort();
    const kobako::SavedSize again =
        kobako::readSizeFile(kobako::writeSizeFile(read.savedHeight, read.savedWidth));
    if (again.savedHeight != read.savedHeight || again.savedWidth != read.savedWidth)
        std::abort();
    return 0;
}
