// Fuzzes the .theme reader and the opening of a theme: a file is read or refused with a
// message; no more slideshow images come out than the file has lines; the document a theme
// opens to can be saved as a project file and read back unchanged.
#include "model/ThemeFileReader.h"
#include "platform/host/HostPlatform.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    // Only text conversions and %SystemRoot% are asked of the platform; no file is touched.
    static quorvel::HostPlatform platform("/nonexistent-quorvel-fuzz-root");
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
    const quorvel::ThemeReadResult read = quorvel::readThemeFile(text, platform);
    if (read.theme.has_value() == !read.error.empty()) {
        std::abort();
    }
    if (!read.theme) {
        return 0;
    }
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    if (read.theme->slideshow.size() > lines) {
        std::abort();
    }
    for (quorvel::PageSet set : {quorvel::PageSet::Win7, quorvel::PageSet::Xp}) {
        quorvel::ThemeDocument opened;
        quorvel::openTheme(
            *read.theme, set,
            [](const std::string& path, quorvel::FileKind) {
                // Some fit, some are missing, some are of another kind.
                return static_cast<quorvel::FileFit>(path.size() % 3);
            },
            opened);
        const quorvel::ProjectText written = quorvel::writeProjectFile(opened);
        if (!written.error.empty()) {
            std::abort();
        }
        const quorvel::ProjectReadResult again = quorvel::readProjectFile(written.bytes);
        if (!again.document || !(*again.document == opened)) {
            std::abort();
        }
    }
    return 0;
}
