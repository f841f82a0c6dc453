// Every message and title the program shows the user, written once. The captions of the
// controls and the labels of the pages belong to the control table; what the theme file and the
// pack hold belongs to the generators.
#pragma once

#include <string_view>

namespace quorvel::text {

// --- titles of the message boxes ---
inline constexpr std::string_view kErrorTitle = "错误...";
inline constexpr std::string_view kInfoTitle = "提示...";

// --- the page flow ---
inline constexpr std::string_view kWin7Only = "此功能只能在WIN7系统下使用!";
inline constexpr std::string_view kXpOnly = "此功能只能在XP系统下使用!";
inline constexpr std::string_view kNoVisualStyle = "必须指定可视化风格文件!";
inline constexpr std::string_view kNoCursorScheme = "请选择鼠标方案后再行操作...";
inline constexpr std::string_view kNoCursorSchemeName = "请填写鼠标方案名称后后再行操作...";
inline constexpr std::string_view kNoSoundScheme = "请选择声音方案后再行操作...";
inline constexpr std::string_view kNoSoundSchemeName = "请填写声音方案名称后再行操作...";

// --- the titles of the pickers' dialogs ---
inline constexpr std::string_view kSlideshowDialogTitle = "请选择需要的幻灯壁纸!";
inline constexpr std::string_view kSaveFolderDialogTitle = "请选择保存位置...";
inline constexpr std::string_view kTooManyFiles = "选择的文件太多,请分几次少选一些。";

// --- the refusals of a generation run, before anything is written ---
inline constexpr std::string_view kEmptyThemeName = "生成名称不能为空!";
inline constexpr std::string_view kEmptyDisplayName = "显示名称不能为空!";
inline constexpr std::string_view kEmptySaveLocation = "保存位置不能为空!";
inline constexpr std::string_view kBadThemeName =
    "生成名称必须是一个有效的文件夹名称:不能含有 \\ / : * ? \" < > | 或控制字符,"
    "不能是 . 或 .. 或设备名(如 CON、NUL),也不能以空格或句点结尾!";
inline constexpr std::string_view kThemeNameOutsideCodePage =
    "生成名称中有当前系统的代码页无法表示的字符,请换一个名称!";
inline constexpr std::string_view kPackFolderFailed = "生成失败,请重试!";

// --- the closing message of a generation run ---
inline constexpr std::string_view kDone = "生成完毕!";
// kDone + kFailuresBefore + count + kFailuresAfter, then one line per item.
inline constexpr std::string_view kFailuresBefore = "\n\n但以下 ";
inline constexpr std::string_view kFailuresAfter = " 项未能完成:";
// "\n" + kMoreBefore + count + kMoreAfter after the listed items.
inline constexpr std::string_view kMoreBefore = "……另有 ";
inline constexpr std::string_view kMoreAfter = " 项未列出。";

// --- the items of the closing message; most are followed by a path ---
inline constexpr std::string_view kThemeHeaderFailed = "无法写入主题文件的开头: ";
inline constexpr std::string_view kThemeFileFailed = "无法保存主题文件: ";
inline constexpr std::string_view kThemeKeyFailed = "无法写入主题项: ";
inline constexpr std::string_view kFolderFailed = "无法创建文件夹: ";
inline constexpr std::string_view kCopyFailed = "无法复制: ";
inline constexpr std::string_view kCopyArrow = " → ";
inline constexpr std::string_view kCopyNothingChosen = "无法复制: 未选择文件 → ";
inline constexpr std::string_view kCopyBadFileName = "无法复制: 文件名无效: ";
inline constexpr std::string_view kFileFailed = "无法写入文件: ";
inline constexpr std::string_view kPathTooLong = "路径过长,未能进入文件夹: ";
inline constexpr std::string_view kFolderUnreadable = "无法读取文件夹: ";
inline constexpr std::string_view kNoVisualStyleInTheme =
    "未选择可视化风格文件,主题中的可视化风格无法使用";
inline constexpr std::string_view kRunInterrupted = "生成过程意外中断,主题包不完整";

// --- project files and opened .theme files ---
inline constexpr std::string_view kCannotReadFile = "无法读取文件: ";
inline constexpr std::string_view kCannotOpenFile = "无法打开文件: ";
inline constexpr std::string_view kCannotSaveProject = "无法保存方案文件: ";
// Followed by one missing file a line.
inline constexpr std::string_view kMissingThemeFiles = "主题中的以下文件不存在,它们的项保持为空:";
inline constexpr std::string_view kSaveChangesBefore = "方案 \"";
inline constexpr std::string_view kSaveChangesAfter = "\" 已更改。是否保存更改?";
// The window's system menu.
inline constexpr std::string_view kMenuOpenProject = "打开方案或主题...\tCtrl+O";
inline constexpr std::string_view kMenuSaveProject = "保存方案...\tCtrl+S";
inline constexpr std::string_view kMenuSaveProjectAs = "方案另存为...";
// The filters of the project dialogs.
inline constexpr std::string_view kProjectSaveFilter = "Quorvel 方案 (*.quorvel)|*.quorvel";
inline constexpr std::string_view kProjectOpenFilter =
    "Quorvel 方案和主题 (*.quorvel;*.theme)|*.quorvel;*.theme|Quorvel 方案 (*.quorvel)|*.quorvel|"
    "主题文件 (*.theme)|*.theme";

// --- the main window ---
inline constexpr std::string_view kInternalError = "程序内部错误：";
inline constexpr std::string_view kNoMainWindow = "无法创建程序窗口。";

// --- files dropped onto the window (under kInfoTitle) ---
inline constexpr std::string_view kDropFolderOnFileField = "这里只能放入一个文件,不能放入文件夹。";
inline constexpr std::string_view kDropSeveralOnFileField =
    "这里只能放入一个文件,请只拖入一个文件。";
// Followed by the field's file types, e.g. "鼠标指针(*.cur;*.ani)".
inline constexpr std::string_view kDropWrongType = "这里只能放入此类文件: ";
inline constexpr std::string_view kDropFileOnFolderField = "这里只能放入一个文件夹,作为保存位置。";
inline constexpr std::string_view kDropFieldDisabled = "这一项现在不可用,文件未被放入。";
inline constexpr std::string_view kDropNotADocument =
    "请把文件拖到它所属的路径框上;拖到窗口其他位置的只能是一个主题文件(*.theme)或工程文件"
    "(*.quorvel)。";

// --- theme packs ---
// The window's system menu (Windows 7 pages).
inline constexpr std::string_view kMenuExportPack = "导出主题包...\tCtrl+E";
inline constexpr std::string_view kPackSaveFilter =
    "Windows 7 主题包 (*.themepack)|*.themepack|"
    "Windows 8 及更高版本主题包 (*.deskthemepack)|*.deskthemepack";
inline constexpr std::string_view kPackNotOnXp =
    "Windows XP 没有主题包,XP 主题无法导出为主题包。\n"
    "要在本机使用这个主题,请用系统菜单中的 \"安装并应用...\"。";
// The closing message: kPackExported + path, then the left-out items and the failures.
inline constexpr std::string_view kPackExported = "主题包导出完毕: ";
inline constexpr std::string_view kPackLeftOut = "\n\n以下内容不能放入主题包,已略去:";
inline constexpr std::string_view kPackStyleLeftOut =
    "可视化风格 (主题包中的主题使用系统的 Aero 风格): ";
inline constexpr std::string_view kPackScreensaverLeftOut =
    "屏幕保护程序 (主题包中的主题不设屏幕保护): ";
inline constexpr std::string_view kPackSourceMissing = "无法放入主题包: ";
// Refusals, before anything is written.
inline constexpr std::string_view kPackTooLarge =
    "主题太大,一个主题包放不下 (最多 2 GB、65535 个文件)!";
inline constexpr std::string_view kPackWriteFailed = "无法写入主题包: ";
inline constexpr std::string_view kPackExists = "主题包已存在: ";

} // namespace quorvel::text
