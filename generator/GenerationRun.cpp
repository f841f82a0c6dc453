#include "generator/GenerationRun.h"

#include "generator/ThemePaths.h"

#include <array>

namespace quorvel {

namespace {

constexpr std::size_t kListedFailures = 12;
constexpr int kHeaderPauseMs = 500;

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

bool isReservedDeviceName(std::string_view name) {
    // Windows maps these names to devices in every folder, with or without an extension.
    std::string base(name.substr(0, name.find('.')));
    for (char& c : base) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    static const std::array<std::string_view, 4> plain = {"CON", "PRN", "AUX", "NUL"};
    for (std::string_view reserved : plain) {
        if (base == reserved) {
            return true;
        }
    }
    return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
           base[3] >= '1' && base[3] <= '9';
}

} // namespace

const GenerationPage& win7GenerationPage() {
    static const GenerationPage page{"W生成名称",
                                     "W显示名称",
                                     "W保存位置",
                                     {"W生成名称", "W显示名称", "W保存位置", "按钮25", "按钮26"}};
    return page;
}

const GenerationPage& xpGenerationPage() {
    static const GenerationPage page{
        "X生成名称",
        "X显示名称",
        "X保存位置",
        {"X生成名称", "X保存位置", "X显示名称", "X保存位置_打开", "按钮47", "按钮48"}};
    return page;
}

std::string_view themeFileHeader() {
    // Plain ASCII, so that it reads the same in every ANSI code page.
    return ";Copyright (C) 2026 The Quorvel Project. All rights reserved.\r\n"
           ";Url:https://www.example.com/quorvel/";
}

std::optional<std::string> themeNameProblem(std::string_view name) {
    const std::string message =
        "生成名称必须是一个有效的文件夹名称:不能含有 \\ / : * ? \" < > | 或控制字符,"
        "不能是 . 或 .. 或设备名(如 CON、NUL),也不能以空格或句点结尾!";
    if (name == "." || name == ".." || name.empty()) {
        return message;
    }
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F ||
            std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos) {
            return message;
        }
    }
    if (name.back() == ' ' || name.back() == '.' || isReservedDeviceName(name)) {
        return message;
    }
    return std::nullopt;
}

GenerationRun::GenerationRun(Controls& controls, ThemeProject& project, Platform& platform,
                             const GenerationPage& page)
    : controls_(controls), project_(project), platform_(platform), page_(page) {}

void GenerationRun::refuse(std::string_view message) {
    platform_.messageBox(std::string(message), MessageIcon::Error, std::string(kErrorTitle));
}

void GenerationRun::setControlsEnabled(bool enabled) {
    for (std::string_view name : page_.disableList) {
        controls_.setEnabled(name, enabled);
    }
}

bool GenerationRun::begin() {
    const std::string name = controls_.text(page_.nameField);
    const std::string displayName = controls_.text(page_.displayNameField);
    const std::string saveLocation = controls_.text(page_.saveLocationField);
    if (name.empty()) {
        refuse("生成名称不能为空!");
        return false;
    }
    if (displayName.empty()) {
        refuse("显示名称不能为空!");
        return false;
    }
    if (saveLocation.empty()) {
        refuse("保存位置不能为空!");
        return false;
    }
    if (const auto problem = themeNameProblem(name)) {
        refuse(*problem);
        return false;
    }
    // The name ends up in every installed path of the theme file.
    if (!platform_.toAnsi(name)) {
        refuse("生成名称中有当前系统的代码页无法表示的字符,请换一个名称!");
        return false;
    }

    setControlsEnabled(false);
    project_.themeName = name;
    project_.displayName = displayName;
    project_.saveLocation = saveLocation;

    if (!platform_.makeDirectory(packFolder())) {
        setControlsEnabled(true);
        refuse("生成失败,请重试!");
        return false;
    }

    const std::string themeFile = themeFilePath(project_);
    if (!platform_.writeFile(themeFile, bytesOf(themeFileHeader()))) {
        fail("无法写入主题文件的开头: " + themeFile);
    }
    writer_.emplace(platform_, themeFile);
    platform_.delay(kHeaderPauseMs);
    writeKey("Theme", "DisplayName", project_.displayName);
    return true;
}

void GenerationRun::end() {
    if (writer_ && !writer_->flush()) {
        fail("无法保存主题文件: " + writer_->filePath());
    }
    setControlsEnabled(true);
    if (failures_.empty()) {
        platform_.messageBox(std::string(kDoneMessage), MessageIcon::Information,
                             std::string(kInfoTitle));
    } else {
        platform_.messageBox(closingMessage(failures_), MessageIcon::Warning,
                             std::string(kInfoTitle));
    }
}

std::string GenerationRun::closingMessage(const std::vector<std::string>& failures) {
    std::string message(kDoneMessage);
    if (failures.empty()) {
        return message;
    }
    message += "\n\n但以下 " + std::to_string(failures.size()) + " 项未能完成:";
    const std::size_t listed = std::min(failures.size(), kListedFailures);
    for (std::size_t i = 0; i < listed; ++i) {
        message += "\n" + failures[i];
    }
    if (failures.size() > listed) {
        message += "\n……另有 " + std::to_string(failures.size() - listed) + " 项未列出。";
    }
    return message;
}

void GenerationRun::fail(std::string item) {
    failures_.push_back(std::move(item));
}

std::string GenerationRun::packFolder() const {
    return quorvel::packFolder(project_);
}

std::string GenerationRun::installedPath(std::string_view subfolder,
                                         std::string_view fileName) const {
    return quorvel::installedPath(project_, subfolder, fileName);
}

void GenerationRun::writeKey(std::string_view section, std::string_view key,
                             std::string_view value) {
    if (!writer_ || !writer_->write(section, key, value)) {
        fail("无法写入主题项: [" + std::string(section) + "] " + std::string(key));
    }
}

void GenerationRun::writeAssetEntry(std::string_view field, std::string_view section,
                                    std::string_view key, std::string_view defaultValue,
                                    std::string_view subfolder, const AssetRef& asset,
                                    std::string_view suffix) {
    if (fieldEmpty(field)) {
        writeKey(section, key, defaultValue);
        return;
    }
    ensureSubfolder(subfolder);
    copyAsset(asset, subfolder);
    writeKey(section, key, installedPath(subfolder, asset.fileName) + std::string(suffix));
}

void GenerationRun::ensureSubfolder(std::string_view subfolder) {
    const std::string path = packFolder() + std::string(subfolder);
    if (!platform_.isDirectory(path) && !platform_.makeDirectory(path)) {
        fail("无法创建文件夹: " + path);
    }
}

void GenerationRun::makeDirectory(const std::string& path) {
    if (!platform_.makeDirectory(path) && !platform_.isDirectory(path)) {
        fail("无法创建文件夹: " + path);
    }
}

void GenerationRun::copyAsset(const AssetRef& asset, std::string_view subfolder) {
    const std::string target = packFolder() + std::string(subfolder) + asset.fileName;
    if (asset.sourcePath.empty() || asset.fileName.empty()) {
        fail("无法复制: 未选择文件 → " + target);
        return;
    }
    // The fixed system paths of list entries start with a reference such as %SystemRoot%.
    // Paths from the file dialogs are absolute and stand as they are: a folder may well be
    // named "%TEMP%", and expanding it would copy some other file.
    const bool systemPath = asset.sourcePath.front() == '%';
    copyFile(systemPath ? platform_.expandEnvironment(asset.sourcePath) : asset.sourcePath, target);
}

void GenerationRun::copyFile(const std::string& source, const std::string& target) {
    if (!platform_.copyFile(source, target)) {
        fail("无法复制: " + source + " → " + target);
    }
}

void GenerationRun::writePayload(std::string_view relativePath,
                                 std::span<const std::uint8_t> bytes) {
    const std::string path = packFolder() + std::string(relativePath);
    if (!platform_.writeFile(path, bytes)) {
        fail("无法写入文件: " + path);
    }
}

} // namespace quorvel
