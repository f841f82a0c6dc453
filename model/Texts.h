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
    "Quorvel 方案和主题 (*.quorvel;*.theme;*.themepack;*.deskthemepack)|"
    "*.quorvel;*.theme;*.themepack;*.deskthemepack|Quorvel 方案 (*.quorvel)|*.quorvel|"
    "主题文件 (*.theme)|*.theme|主题包 (*.themepack;*.deskthemepack)|*.themepack;*.deskthemepack";

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
    "请把文件拖到它所属的路径框上;拖到窗口其他位置的只能是一个主题文件(*.theme)、主题包"
    "(*.themepack;*.deskthemepack)或工程文件(*.quorvel)。";

// --- opening theme packs (.themepack, .deskthemepack); each follows kCannotOpenFile + path ---
inline constexpr std::string_view kPackNotCabinet =
    "文件不是主题包 (不是有效的 cabinet 压缩文件), 或已损坏。";
inline constexpr std::string_view kPackDamaged =
    "主题包已损坏或不完整 (可能没有下载完), 无法解开, 未写入任何文件。";
inline constexpr std::string_view kPackUnsupported =
    "主题包使用了本程序在此系统上无法解开的压缩方式或格式版本。";
// Followed by the folder.
inline constexpr std::string_view kPackExtractFailed = "无法把主题包解开到文件夹: ";
inline constexpr std::string_view kPackNoDataFolder =
    "系统没有提供当前用户的应用程序数据文件夹, 无法解开主题包。";
// kPackBadNameBefore + name + kPackBadNameAfter + one of the reasons below.
inline constexpr std::string_view kPackBadNameBefore = "主题包中的文件名 \"";
inline constexpr std::string_view kPackBadNameAfter = "\" 不安全, 主题包未被解开: ";
inline constexpr std::string_view kMemberNameEmpty = "名称为空, 或不是有效的文字";
inline constexpr std::string_view kMemberNameRooted = "以 \\ 或 / 开头, 是绝对路径";
inline constexpr std::string_view kMemberNameColon = "含有盘符或冒号 (:)";
inline constexpr std::string_view kMemberNameDots = "含有空的部分、. 或 .. (指向上级文件夹)";
inline constexpr std::string_view kMemberNameCharacter = "含有无效字符 (* ? \" < > | 或控制字符)";
inline constexpr std::string_view kMemberNameTrailing = "某一部分以句点或空格结尾";
inline constexpr std::string_view kMemberNameDevice = "是设备名 (如 CON、NUL、COM1)";
inline constexpr std::string_view kMemberNameLong = "过长";
// Followed by the name.
inline constexpr std::string_view kPackDuplicateName =
    "主题包中有重名的文件或文件夹, 主题包未被解开: ";
// kPackTooManyBefore + count + kPackTooManyAfter.
inline constexpr std::string_view kPackTooManyBefore = "主题包中的文件太多 (";
inline constexpr std::string_view kPackTooManyAfter = " 个, 最多 10000 个), 主题包未被解开。";
// kPackTooLargeBefore + megabytes + kPackTooLargeAfter.
inline constexpr std::string_view kPackTooLargeBefore = "主题包解开后太大 (";
inline constexpr std::string_view kPackTooLargeAfter = " MB, 最多 2048 MB), 主题包未被解开。";
// kPackNoSpaceBefore + needed + kPackNoSpaceMiddle + free + kPackNoSpaceAfter.
inline constexpr std::string_view kPackNoSpaceBefore = "磁盘空间不足: 解开主题包需要 ";
inline constexpr std::string_view kPackNoSpaceMiddle = " MB, 但只剩 ";
inline constexpr std::string_view kPackNoSpaceAfter = " MB。主题包未被解开。";
inline constexpr std::string_view kPackNoTheme = "主题包中没有主题文件 (*.theme)。";
inline constexpr std::string_view kPackSeveralThemes =
    "主题包中有多个主题文件 (*.theme), 无法确定打开哪一个。";
inline constexpr std::string_view kPackDefaultFolder = "主题包";

// --- hostile names, long paths and what is already there: checked before a run writes ---
// After "文件名 "<name>"" in the project file reader's message.
inline constexpr std::string_view kCopyNameIsDevice =
    " 无效: 这是系统的设备名 (如 CON、PRN、AUX、NUL、COM1、LPT1), 不能用作主题包中的文件名。";
inline constexpr std::string_view kCopyNameHasDirectionControl =
    " 无效: 含有改变文字显示方向的控制字符。";
// Followed by the name and, in brackets, the file it would be copied from.
inline constexpr std::string_view kBadCopyName =
    "主题包中的文件名无效 (不能含有 \\ / : * ? \" < > |、控制字符或改变文字方向的字符, "
    "不能是 . 或 .. 或设备名): ";
inline constexpr std::string_view kDisplayNameControl = "显示名称不能含有换行或其他控制字符!";
inline constexpr std::string_view kDisplayNameOutsideCodePage =
    "显示名称中有当前系统的代码页无法表示的字符,请修改显示名称!";
// Followed by the first path that is too long.
inline constexpr std::string_view kPathTooLongRefused =
    "要写入的路径过长,请缩短生成名称或换一个较短的保存位置: ";
// Why a run ended in kPackFolderFailed, on a line of its own after it (the command line prints
// it; the window shows kPackFolderFailed alone). Each is followed by a path.
inline constexpr std::string_view kReasonNoSaveFolder = "保存位置不存在或不是文件夹: ";
inline constexpr std::string_view kReasonPackExists = "主题包文件夹已存在: ";
inline constexpr std::string_view kReasonThemeFileExists = "主题文件已存在: ";
inline constexpr std::string_view kReasonPackNotMade = "无法在保存位置创建主题包文件夹: ";

// --- installing and applying a theme for the current user ---
inline constexpr std::string_view kMenuInstallTheme = "安装并应用...\tCtrl+I";
// kInstalled + the installed theme file, then kFailuresBefore ... as in the closing message.
inline constexpr std::string_view kInstalled = "主题已安装: ";
inline constexpr std::string_view kInstalledAndOpened = "主题已安装并交给系统应用: ";
inline constexpr std::string_view kReplaceInstalledBefore = "已安装名为 \"";
inline constexpr std::string_view kReplaceInstalledAfter = "\" 的主题。是否用新生成的主题替换它?";
// Followed by the installed theme's folder.
inline constexpr std::string_view kAlreadyInstalled = "已安装同名主题,未作任何更改: ";
inline constexpr std::string_view kNoUserThemeFolder =
    "无法确定当前用户的主题文件夹 (缺少环境变量 ";
inline constexpr std::string_view kNoUserThemeFolderAfter = ")。";
inline constexpr std::string_view kInstallSwapFailed = "无法用新主题替换已安装的主题: ";
// The items of the report; each is followed by a path.
inline constexpr std::string_view kStyleLeftOut =
    "可视化风格未安装到系统文件夹 (需要管理员权限,已改用系统自带的风格): ";
inline constexpr std::string_view kScreensaverLeftOut =
    "屏幕保护程序未安装到系统文件夹 (需要管理员权限,主题不带屏保): ";
inline constexpr std::string_view kSystemFolderDenied = "无法写入系统的主题文件夹: ";
inline constexpr std::string_view kOpenThemeFailed = "系统无法打开主题文件,请手动打开以应用主题: ";

// --- project and theme files read from elsewhere (after kCannotOpenFile and the path) ---
inline constexpr std::string_view kDocumentNotAFile =
    "这不是磁盘上的文件(而是文件夹、设备或管道),不能作为方案或主题文件打开。";
inline constexpr std::string_view kDocumentTooLarge =
    "文件大于 8 MB,不是方案或主题文件(五千张图片的主题文件也不到 0.5 MB)。";
// Followed by one file a line, after the missing ones (kMissingThemeFiles).
inline constexpr std::string_view kUnfitThemeFiles =
    "主题中的以下文件不是其项所需的文件类型(图像、指针、声音、图标、屏保或可视化风格),未被采用,"
    "它们的项保持为空:";

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

// --- the command line (quorvel.exe --help and its refusals) ---
inline constexpr std::string_view kUsage =
    "用法 (Usage):\n"
    "  quorvel.exe [FILE]\n"
    "      打开 Quorvel 方案 (*.quorvel)、主题文件 (*.theme) 或主题包 (*.themepack,\n"
    "      *.deskthemepack)。Opens a project, .theme file or theme pack in the wizard.\n"
    "  quorvel.exe --generate FILE [--for win7|xp] [--name NAME] [--display-name TEXT]\n"
    "                              [--save-to FOLDER | --pack OUT]\n"
    "      不打开窗口, 由方案或主题文件生成主题。\n"
    "      Generates the theme of a project or .theme file without a window.\n"
    "      --for           页面组 (win7 或 xp), 文件本身未指明时使用。\n"
    "                      The page set, when the file does not tell.\n"
    "      --name          生成名称 (the theme name; a .theme file: its own file name)\n"
    "      --display-name  显示名称 (the display name; a .theme file: its DisplayName)\n"
    "      --save-to       保存位置 (the save location; required for a .theme file)\n"
    "      --pack OUT      导出主题包 (*.themepack 或 *.deskthemepack) 而不是主题文件夹;\n"
    "                      不需要 --save-to。Exports a theme pack instead (Windows 7 pages).\n"
    "  quorvel.exe --generate FILE --install [--no-apply] [--for ...] [--name ...]\n"
    "                              [--display-name ...]\n"
    "      安装到当前用户的主题文件夹并交给系统应用; 同名主题已安装时不作更改 (退出代码 2)。\n"
    "      Installs the theme for the current user and opens it with the system.\n"
    "      --no-apply      只安装, 不应用 (install without opening)\n"
    "  quorvel.exe --help\n"
    "      显示本说明。Shows this text.\n"
    "退出代码 (Exit codes): 0 全部写入 (all written), 1 主题包已生成但有项目失败 (written, some\n"
    "items failed), 2 未写入任何内容 (refused before writing), 64 命令行有误 (wrong command "
    "line).\n";
inline constexpr std::string_view kCliHelpAlone =
    "--help 不能与其他参数一起使用 (--help stands alone)";
// After the option given twice.
inline constexpr std::string_view kCliGivenTwice = " 重复 (given twice)";
inline constexpr std::string_view kCliGenerateTwice = "--generate 重复 (given twice)";
inline constexpr std::string_view kCliForTwice = "--for 重复 (given twice)";
// Followed by the argument.
inline constexpr std::string_view kCliUnknownOption = "未知选项 (unknown option): ";
// After the option.
inline constexpr std::string_view kCliNeedsValue = " 缺少值 (needs a value)";
// Followed by the value given.
inline constexpr std::string_view kCliForValue = "--for 只能是 win7 或 xp (win7 or xp): ";
// Followed by the second file.
inline constexpr std::string_view kCliOneFile = "只能给出一个文件 (one file only): ";
inline constexpr std::string_view kCliInstallTakesNeither =
    "--install 不能与 --pack 或 --save-to 同用 (--install takes neither)";
inline constexpr std::string_view kCliPackTakesNoSaveTo =
    "--pack 不能与 --save-to 同用 (--pack takes no --save-to)";
// Followed by the name given.
inline constexpr std::string_view kCliPackExtension =
    "--pack 只能是 .themepack 或 .deskthemepack 文件 (needs a .themepack or .deskthemepack name): ";
inline constexpr std::string_view kCliNoApplyAlone = "--no-apply 需要 --install (needs --install)";
inline constexpr std::string_view kCliGenerateNeedsFile = "--generate 需要一个文件 (needs a file)";
inline constexpr std::string_view kCliOptionsAlone =
    "选项只能与 --generate 一起使用 (options need --generate)";
inline constexpr std::string_view kCliThemeNeedsSaveTo =
    "主题文件需要 --save-to (a .theme file needs --save-to)\n";

// --- .theme files that cannot be read (after kCannotOpenFile and the path) ---
inline constexpr std::string_view kThemeBadUtf16 =
    "文件声明为 UTF-16 编码, 但内容不是有效的 UTF-16 文本 (文件可能已损坏或被截断)。";
inline constexpr std::string_view kThemeBigEndian =
    "文件是 UTF-16 大端序 (big-endian) 编码, 无法读取; 请以 ANSI、UTF-8 或 Unicode (UTF-16 LE) "
    "编码保存。";
inline constexpr std::string_view kThemeBadUtf8 =
    "文件声明为 UTF-8 编码, 但内容不是有效的 UTF-8 文本 (可能以其他编码保存, 或已损坏)。";
inline constexpr std::string_view kThemeBinary = "文件含有二进制数据, 不是主题文件。";
inline constexpr std::string_view kThemeOutsideCodePage =
    "文件含有当前系统代码页中无效的字符, 不是主题文件, 或已损坏。";
// kLineBefore + line + kThemeLineTooLong + kilobytes + kThemeLineTooLongAfter.
inline constexpr std::string_view kLineBefore = "第 ";
inline constexpr std::string_view kThemeLineTooLong = " 行过长 (超过 ";
inline constexpr std::string_view kThemeLineTooLongAfter = " KB), 不是主题文件, 或已损坏。";
// kLineBefore + line + kThemeLineControl.
inline constexpr std::string_view kThemeLineControl =
    " 行含有控制字符或二进制数据, 不是主题文件, 或已损坏。";
inline constexpr std::string_view kThemeEmpty = "文件是空的, 不是主题文件。";
inline constexpr std::string_view kThemeNoSection =
    "文件中没有 [Theme] 或 [MasterThemeSelector] 节, 不是主题文件。";

// --- the previews beside the fields and of the desktop ---
inline constexpr std::string_view kNoPreview = "无法预览";
// Why a file shows no preview, after kNoPreview + kPreviewColon.
inline constexpr std::string_view kPreviewMissing = "文件不存在";
inline constexpr std::string_view kPreviewEmpty = "文件是空的";
inline constexpr std::string_view kPreviewTooLarge = "文件太大";
inline constexpr std::string_view kPreviewUnreadable = "无法读取文件";
inline constexpr std::string_view kPreviewNotDecodable = "不是可识别的图像";
inline constexpr std::string_view kPreviewDamaged = "文件不完整或已损坏";
inline constexpr std::string_view kPreviewTooManyPixels = "图像太大";
inline constexpr std::string_view kPreviewNotAnIcon = "文件中没有图标";
inline constexpr std::string_view kPreviewNotAPointer = "不是指针文件";
inline constexpr std::string_view kPreviewBadAnimation = "动画指针的文件头无效";
// The facts under a preview, e.g. "共 3 张图片", "1024 × 768，12 KB", "32 × 32，热点 (0, 0)，
// 8 步动画", "大小：1 KB".
inline constexpr std::string_view kSlideshowCountBefore = "共 ";
inline constexpr std::string_view kSlideshowCountAfter = " 张图片";
inline constexpr std::string_view kBytes = " 字节";
inline constexpr std::string_view kPreviewColon = "：";
inline constexpr std::string_view kPreviewComma = "，";
inline constexpr std::string_view kHotSpotBefore = "，热点 (";
inline constexpr std::string_view kAnimationSteps = " 步动画";
inline constexpr std::string_view kSizeLabel = "大小：";
inline constexpr std::string_view kDescriptionLabel = "说明：";
inline constexpr std::string_view kLengthLabel = "时长：";
// The desktop icons' names on the desktop preview: Windows XP, then Windows 7.
inline constexpr std::string_view kXpDocuments = "我的文档";
inline constexpr std::string_view kXpComputer = "我的电脑";
inline constexpr std::string_view kXpNetwork = "网上邻居";
inline constexpr std::string_view kDocuments = "文档";
inline constexpr std::string_view kComputer = "计算机";
inline constexpr std::string_view kNetwork = "网络";
inline constexpr std::string_view kRecycleBin = "回收站";
inline constexpr std::string_view kRecycleBinFull = "回收站（满）";
// The desktop preview's window, its menu item and its sample window.
inline constexpr std::string_view kDesktopPreviewCaption = "桌面预览";
inline constexpr std::string_view kMenuDesktopPreview = "预览桌面...\tCtrl+Shift+P";
inline constexpr std::string_view kSampleWindowCaption = "示例窗口";
inline constexpr std::string_view kSampleWindowText = "窗口中的文字";

// --- the main window's caption ---
inline constexpr std::string_view kWizardCaption = "Quorvel（Quorvel Ver2.0）";

// --- the filters of the pickers' file dialogs ("description|masks") ---
inline constexpr std::string_view kIconFilter = "系统图标|*.ico";
inline constexpr std::string_view kPointerFilter = "鼠标指针|*.cur;*.ani";
inline constexpr std::string_view kSoundFilter = "WAV音频文件|*.wav";
inline constexpr std::string_view kScreensaverFilter = "屏幕保护文件|*.scr";
inline constexpr std::string_view kPictureFilter = "JPG文件|*.jpg";
inline constexpr std::string_view kStyleFilter = "可视化风格文件|*.msstyles";

// --- the colour palette's popup ---
inline constexpr std::string_view kPaletteThemeColors = "  主题颜色";
inline constexpr std::string_view kPaletteStandardColors = "  标准色";
inline constexpr std::string_view kPaletteAutomatic = "自动";
inline constexpr std::string_view kPaletteOtherColors = "其他颜色...";

// --- what screen readers are told ---
// The default action of push buttons and palette cells, as the system names a button's.
inline constexpr std::string_view kPressAction = "按下";

// --- the XP sound scheme name the default scheme item fills in ---
inline constexpr std::string_view kXpDefaultSoundScheme = "默认声音方案";

// --- project files: what the writer refuses and why the reader refuses a file ---
// The reader's messages start with kLineBefore + line + kProjectLineAfter where a line is to blame.
inline constexpr std::string_view kProjectLineAfter = " 行: ";
inline constexpr std::string_view kFullStop = "。";
// kProjectKeyBefore + key + kProjectValueControl.
inline constexpr std::string_view kProjectKeyBefore = "「";
inline constexpr std::string_view kProjectValueControl =
    "」的内容含有换行或其他控制字符, 无法写入方案文件。";
// kProjectKeyBefore + key + kProjectKeyFileName + quoted name + kProjectFileNameInvalid.
inline constexpr std::string_view kProjectKeyFileName = "」的文件名 ";
inline constexpr std::string_view kProjectFileNameInvalid = " 无效, 无法写入方案文件。";
// kProjectImageWithoutPath + number + kProjectImageWithoutPathAfter.
inline constexpr std::string_view kProjectImageWithoutPath = "幻灯片的第 ";
inline constexpr std::string_view kProjectImageWithoutPathAfter =
    " 张图片没有路径, 无法写入方案文件。";
// Followed by the expected first line in quotes and kFullStop.
inline constexpr std::string_view kNotAProject = "这不是 Quorvel 方案文件: 第 1 行应为 ";
// kProjectNewerBefore + version + kProjectNewerMiddle + own version + kProjectNewerAfter.
inline constexpr std::string_view kProjectNewerBefore =
    "此方案文件由较新版本的 Quorvel 保存 (格式版本 ";
inline constexpr std::string_view kProjectNewerMiddle = "), 本程序只能打开格式版本 ";
inline constexpr std::string_view kProjectNewerAfter = " 的方案文件。";
inline constexpr std::string_view kProjectUtf16 =
    "这个方案文件以 UTF-16 编码保存; 方案文件须为 UTF-8 编码。";
inline constexpr std::string_view kProjectEmpty = "方案文件是空的。";
// kProjectLineTooLong + kilobytes + kProjectLineTooLongAfter.
inline constexpr std::string_view kProjectLineTooLong = "这一行过长 (超过 ";
inline constexpr std::string_view kProjectLineTooLongAfter = " KB), 文件可能已损坏。";
inline constexpr std::string_view kProjectBadUtf8 =
    "不是有效的 UTF-8 文本。文件可能已损坏, 或以其他编码保存。";
inline constexpr std::string_view kProjectControl = "含有控制字符, 文件可能已损坏。";
inline constexpr std::string_view kProjectAfterEnd = "[End] 之后不应再有内容。";
inline constexpr std::string_view kProjectBadLine =
    "无法识别的内容。每一行应为 [节名]、键=值 或以 ; 开头的注释。";
// kProjectSectionBefore + name + kProjectSectionTwice + first line + kProjectTwiceAfter.
inline constexpr std::string_view kProjectSectionBefore = "节 [";
inline constexpr std::string_view kProjectSectionTwice = "] 重复 (第 ";
inline constexpr std::string_view kProjectTwiceAfter = " 行已有)。";
// kProjectKeyWord + quoted key + kProjectKeyOutsideSection, or + kProjectKeyTwice + first line +
// kProjectTwiceAfter.
inline constexpr std::string_view kProjectKeyWord = "键 ";
inline constexpr std::string_view kProjectKeyOutsideSection =
    " 不属于任何节; 第一个 [节名] 之前只能有注释。";
inline constexpr std::string_view kProjectKeyTwice = " 重复 (第 ";
inline constexpr std::string_view kProjectNoEnd =
    "方案文件不完整: 缺少最后一行 [End], 文件可能在保存或复制时被截断。";
inline constexpr std::string_view kProjectNoPageSet =
    "方案文件缺少 [Project] 节中的 PageSet (Win7 或 XP)。";
// Each of the following is followed by the quoted value and kFullStop.
inline constexpr std::string_view kProjectBadPageSet = "PageSet 应为 Win7 或 XP, 而不是 ";
inline constexpr std::string_view kProjectBadColor =
    "PickedColor 应为六位十六进制数 (如 0066FF), 而不是 ";
// After the key.
inline constexpr std::string_view kProjectBadTick = " 应为 1 (勾选) 或 0 (不勾选), 而不是 ";
// key + kProjectBadNumber + maximum + kProjectBadNumberAfter + quoted value + kFullStop.
inline constexpr std::string_view kProjectBadNumber = " 应为 0 到 ";
inline constexpr std::string_view kProjectBadNumberAfter = " 之间的整数, 而不是 ";
// name key + kProjectNameWithoutPath + path key + kProjectNameWithoutPathAfter.
inline constexpr std::string_view kProjectNameWithoutPath = " 给出了文件名, 但没有对应的 ";
inline constexpr std::string_view kProjectNameWithoutPathAfter = " (路径)。";
// kProjectFileName + quoted name + kCopyNameInvalid (or kCopyNameIsDevice,
// kCopyNameHasDirectionControl).
inline constexpr std::string_view kProjectFileName = "文件名 ";
inline constexpr std::string_view kCopyNameInvalid =
    " 无效: 复制到主题包中的文件名不能含有 \\ / : * ? \" < > | 或控制字符, 也不能是 . 或 ..。";
// name key + kProjectNameEmptyPath + path key + kProjectEmptyPathAfter.
inline constexpr std::string_view kProjectNameEmptyPath = " 给出了文件名, 但 ";
inline constexpr std::string_view kProjectEmptyPathAfter = " 的路径是空的。";
// kProjectBadImageNumber + maximum + kProjectBadImageNumberAfter + quoted key + kFullStop.
inline constexpr std::string_view kProjectBadImageNumber = "幻灯片图片的编号应为 1 到 ";
inline constexpr std::string_view kProjectBadImageNumberAfter = " 之间的整数: ";
// Followed by the missing number and kFullStop.
inline constexpr std::string_view kProjectImageGap =
    "幻灯片图片应从 Image1 起连续编号, 这里缺少 Image";
// kProjectImageBefore + key + kProjectEmptyPathAfter.
inline constexpr std::string_view kProjectImageBefore = "幻灯片图片 ";

} // namespace quorvel::text
