// Fuzzes the project file reader: whatever it accepts, the writer writes, the reader reads back
// as the same document, and the writer writes again as the same bytes; every accepted pick names
// its copy with a plain file name.
#include "model/ProjectFile.h"

#include <cstdlib>
#include <string_view>

namespace {

void checkName(const quorvel::AssetRef& asset) {
    if (!asset.fileName.empty() && !quorvel::isPlainFileName(asset.fileName)) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
    const quorvel::ProjectReadResult read = quorvel::readProjectFile(text);
    if (read.document.has_value() == !read.error.empty()) {
        std::abort();
    }
    if (!read.document) {
        return 0;
    }
    const quorvel::ProjectPicks& picks = read.document->picks;
    for (const auto& asset : picks.iconFiles) {
        checkName(asset);
    }
    for (const auto& asset : picks.cursorFiles) {
        checkName(asset);
    }
    for (const auto& asset : picks.soundFiles) {
        checkName(asset);
    }
    for (const auto& asset : picks.slideshowFiles) {
        checkName(asset);
    }
    checkName(picks.screensaverFile);
    checkName(picks.wallpaperFile);
    checkName(picks.visualStyleFile);

    const quorvel::ProjectText written = quorvel::writeProjectFile(*read.document);
    if (!written.error.empty()) {
        std::abort();
    }
    const quorvel::ProjectReadResult again = quorvel::readProjectFile(written.bytes);
    if (!again.document || !(*again.document == *read.document) ||
        quorvel::writeProjectFile(*again.document).bytes != written.bytes) {
        std::abort();
    }
    return 0;
}
