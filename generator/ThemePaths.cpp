#include "generator/ThemePaths.h"

namespace quorvel {

std::string themeFilePath(const ThemeProject& project) {
    return project.saveLocation + "\\" + project.themeName + ".theme";
}

std::string packFolder(const ThemeProject& project) {
    return project.saveLocation + "\\" + project.themeName;
}

std::string installedPath(const ThemeProject& project, std::string_view subfolder,
                          std::string_view fileName) {
    std::string path(kInstalledThemesRoot);
    path += project.themeName;
    path += subfolder;
    path += fileName;
    return path;
}

PackTarget folderTarget(const ThemeProject& project) {
    return {packFolder(project), themeFilePath(project),
            std::string(kInstalledThemesRoot) + project.themeName};
}

std::string fileNameOf(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string folderOf(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? std::string_view()
                                                       : path.substr(0, slash));
}

} // namespace quorvel
