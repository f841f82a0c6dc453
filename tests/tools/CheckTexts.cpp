// Fails when a source file of the program holds Chinese text in a literal outside the catalogue of
// user-visible texts (model/Texts.h), naming each file and line. Run as: check_texts <source dir>
#include "tools/ChineseLiterals.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// The folders of the program (tests/ is not one of them).
constexpr std::string_view kProgramFolders[] = {"app",       "wizard", "cli",
                                                "generator", "model",  "platform"};

// Files whose Chinese literals are not messages of the program, and why.
constexpr std::string_view kExcepted[] = {
    "model/Texts.h",              // the catalogue itself
    "wizard/ControlTable.cpp",    // the controls' captions and names
    "model/SystemScreensavers.h", // the items of the control table's screensaver lists
    "generator/PayloadDlls.cpp",  // the texts inside the support DLLs of a Windows 7 pack
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: check_texts <source dir>\n";
        return 2;
    }
    const fs::path root = argv[1];
    int count = 0;
    int files = 0;
    for (const std::string_view folder : kProgramFolders) {
        std::vector<fs::path> sources;
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            const auto extension = entry.path().extension();
            if (entry.is_regular_file() && (extension == ".h" || extension == ".cpp")) {
                sources.push_back(entry.path());
            }
        }
        std::sort(sources.begin(), sources.end());
        for (const auto& source : sources) {
            const std::string relative = source.lexically_relative(root).generic_string();
            if (std::find(std::begin(kExcepted), std::end(kExcepted), relative) !=
                std::end(kExcepted)) {
                continue;
            }
            ++files;
            std::ifstream in(source, std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            for (const auto& found : quorvel::catalogue::chineseLiterals(text.str())) {
                std::cout << relative << ":" << found.line << ": " << found.literal << "\n";
                ++count;
            }
        }
    }
    if (count != 0) {
        std::cout << count
                  << " Chinese literal(s) outside model/Texts.h: move each message into the "
                     "catalogue, or mark a text that is not shown with // catalogue: not shown\n";
        return 1;
    }
    std::cout << "No Chinese literal outside the catalogue in " << files << " files.\n";
    return files > 0 ? 0 : 1;
}
