// Fuzzes the path splitting and composition rules.
#include "generator/ThemePaths.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view path(reinterpret_cast<const char*>(bytes), size);
    const std::string name = quorvel::fileNameOf(path);
    const std::string folder = quorvel::folderOf(path);
    if (name.find('\\') != std::string::npos || !path.ends_with(name)) {
        std::abort();
    }
    if (path.find('\\') != std::string_view::npos) {
        if (folder + "\\" + name != path) {
            std::abort();
        }
    } else if (!folder.empty() || name != path) {
        std::abort();
    }
    quorvel::ThemeProject project;
    project.themeName = name;
    project.saveLocation = folder;
    const std::string installed = quorvel::installedPath(project, "\\ICON\\", name);
    if (installed != "%SystemRoot%\\resources\\Themes\\" + name + "\\ICON\\" + name) {
        std::abort();
    }
    if (quorvel::themeFilePath(project) != quorvel::packFolder(project) + ".theme") {
        std::abort();
    }
    return 0;
}
