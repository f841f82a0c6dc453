// Theme packs in the real window: a pack dropped on the window opens (it is extracted into the
// current user's folder of packs and the files its theme names become the wizard's picks), and
// choosing "导出主题包..." in the system menu with the keyboard on the last Windows 7 page asks
// with the system's save dialog (the theme name offered, both pack types in the filter) and
// reports; the exported pack, dropped on a fresh window, opens with its icon as the pick, and
// "安装并应用..." installs that opened theme with the system's own visual style.
#include "WizardTest.h"
#include "pages/ControlTable.h"

#include <gtest/gtest.h>

namespace quorvel::e2e {
namespace {

class Packs : public WizardTest {};

TEST_F(Packs, APackDroppedOnTheWindowOpensWithItsFilesAsThePicks) {
    const std::wstring work = settings().workDir;
    ASSERT_FALSE(work.empty()) << "run with --work=DIR";
    const std::optional<std::string> bytes =
        readFileBytes(widen(std::string("Z:") + QUORVEL_TEST_DATA_DIR + "/harbour.themepack"));
    ASSERT_TRUE(bytes.has_value());
    ASSERT_TRUE(makeFolders(work + L"\\主题包"));
    const std::wstring pack = work + L"\\主题包\\港湾.themepack";
    ASSERT_TRUE(writeFileBytes(pack, *bytes));

    start(L"win7");
    ASSERT_TRUE(app->dropFiles(nullptr, {pack}, POINT{40, 40}));
    // The visual style the pack's theme names is the system's, which Wine may lack: then one
    // message names it, and nothing else is missing.
    if (const auto missing = app->messageBox(3000ms)) {
        app->screenshot(missing->window, L"40-pack-missing");
        EXPECT_EQ(missing->text.find("harbour"), std::string::npos) << missing->text;
        EXPECT_NE(missing->text.find("Aero.msstyles"), std::string::npos) << missing->text;
        app->confirm(*missing);
    }
    EXPECT_EQ(pageSeen(*app), "WIN71");
    press("下一步", "指针页");
    press("下一步", "WIN73");
    press("下一步", "WIN74");
    app->screenshot(L"41-pack-opened");
    const Rect r = findControl("W桌面壁纸")->rect;
    const std::string wallpaper = app->text(field(r.left, r.top));
    const std::string tail = "\\Quorvel\\Packs\\港湾\\DesktopBackground\\harbour.jpg";
    ASSERT_GE(wallpaper.size(), tail.size());
    EXPECT_EQ(wallpaper.substr(wallpaper.size() - tail.size()), tail);
    EXPECT_EQ(readFileBytes(widen(wallpaper)),
              readFileBytes(widen(std::string("Z:") + QUORVEL_TEST_DATA_DIR +
                                  "/harbour-pack/DesktopBackground/harbour.jpg")));
}

// Alt+Space: opens the system menu of the active window.
void openSystemMenu() {
    INPUT inputs[4] = {};
    const WORD keys[4] = {VK_MENU, VK_SPACE, VK_SPACE, VK_MENU};
    for (int i = 0; i < 4; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        inputs[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
    }
    ::SendInput(4, inputs, sizeof(INPUT));
    ::Sleep(300);
}

class Pack : public WizardTest {};

// The system command of the menu item "安装并应用...".
constexpr WPARAM kInstallCommand = 0x7280;

// The smallest icon file the content check of an opened theme takes: one 1x1 image.
std::string iconBytes() {
    const std::string le32OfFour("\4\0\0\0", 4);
    const std::string le32Of22("\x16\0\0\0", 4);
    return std::string("\0\0\1\0\1\0", 6) + std::string(8, '\1') + le32OfFour + le32Of22 + "data";
}

TEST_F(Pack, ExportedFromTheSystemMenuThroughTheSaveDialog) {
    const std::wstring work = settings().workDir;
    ASSERT_FALSE(work.empty()) << "run with --work=DIR";
    const std::wstring folder = work + L"\\pack-export";
    ASSERT_TRUE(makeFolders(folder));
    ASSERT_TRUE(writeFileBytes(folder + L"\\aero.msstyles", "aero style"));
    const std::string icon = iconBytes();
    ASSERT_TRUE(writeFileBytes(folder + L"\\文档.ico", icon));
    // A name of its own, as the prefix may hold an installed theme of an earlier run.
    const std::string name = "港湾" + std::to_string(::GetTickCount() % 100000);
    const std::wstring pack = folder + L"\\" + widen(name) + L".themepack";

    start(L"win7");
    press("生成Win7主题", "WIN71");
    app->click(app->findAt(Kind::Button, 432, 92));
    ASSERT_TRUE(app->answerFileDialog(narrow(folder + L"\\文档.ico"), 5000ms));
    press("下一步", "指针页");
    pick(138, 18, "系统默认鼠标方案");
    press("下一步", "WIN73");
    pick(159, 91, "系统默认声音方案");
    press("下一步", "WIN74");
    press("下一步", "WIN75");
    app->click(app->findAt(Kind::Button, 432, 92));
    ASSERT_TRUE(app->answerFileDialog(narrow(folder + L"\\aero.msstyles"), 5000ms));
    press("下一步", "生成页");
    typeInto(159, 92, name);
    typeInto(159, 127, "秋日港湾");

    // Under Wine the system menu ends with the program's group ("导出主题包..." and then
    // "预览桌面..."), a separator and "关于 Wine": from the top, Up goes to the last item, and
    // twice more to the export.
    openSystemMenu();
    app->key(VK_UP);
    app->key(VK_UP);
    app->key(VK_UP);
    app->screenshot(L"pack-system-menu");
    app->key(VK_RETURN);
    const HWND dialog = app->fileDialog(5000ms);
    ASSERT_NE(dialog, nullptr) << "no save dialog";
    EXPECT_EQ(app->fileNameBox(dialog), name + ".themepack");
    EXPECT_EQ(app->fileTypes(dialog),
              (std::vector<std::string>{"Windows 7 主题包 (*.themepack)",
                                        "Windows 8 及更高版本主题包 (*.deskthemepack)"}));
    app->screenshot(dialog, L"pack-save-dialog");
    app->enterFileName(dialog, narrow(pack));
    ASSERT_TRUE(app->closed(dialog));
    const auto report = app->messageBox(15000ms);
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->text, "主题包导出完毕: " + narrow(pack) +
                                "\n\n以下内容不能放入主题包,已略去:\n"
                                "可视化风格 (主题包中的主题使用系统的 Aero 风格): " +
                                narrow(folder + L"\\aero.msstyles"));
    app->confirm(*report);

    const std::optional<std::string> bytes = readFileBytes(pack);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->substr(0, 4), "MSCF");
    EXPECT_NE(bytes->find("file.ico"), std::string::npos);

    // Dropped on a fresh window, the pack opens: its visual style is the system's own and stays
    // the pick, and its icon (renamed to an ASCII name in the pack) is the pick.
    start(L"win7");
    ASSERT_TRUE(app->dropFiles(nullptr, {pack}, POINT{40, 40}));
    // Without a wallpaper the theme names the system's default one, which Wine lacks: then one
    // message names it, and nothing else is missing.
    if (const auto missing = app->messageBox(3000ms)) {
        EXPECT_NE(missing->text.find("img0.jpg"), std::string::npos) << missing->text;
        EXPECT_EQ(missing->text.find("msstyles"), std::string::npos) << missing->text;
        EXPECT_EQ(missing->text.find("file.ico"), std::string::npos) << missing->text;
        app->confirm(*missing);
    }
    ASSERT_EQ(pageSeen(*app), "WIN71");
    const Rect r = findControl("W我的文档_图标")->rect;
    const std::string picked = app->text(field(r.left, r.top));
    const std::string tail = "\\Quorvel\\Packs\\" + name + "\\file.ico";
    ASSERT_GE(picked.size(), tail.size());
    EXPECT_EQ(picked.substr(picked.size() - tail.size()), tail);
    EXPECT_EQ(readFileBytes(widen(picked)), icon);
    app->screenshot(L"pack-dropped");

    // Installed from the system menu: the icon lands in the per-user theme folder, the theme
    // names the system's style; the prefix has no program for .theme files.
    wchar_t local[MAX_PATH] = {};
    ::ExpandEnvironmentStringsW(L"%LOCALAPPDATA%\\Microsoft\\Windows\\Themes\\", local, MAX_PATH);
    const std::wstring installed = local + widen(name);
    const std::string themeFile = narrow(installed) + "\\" + name + ".theme";
    // The pack brings no sounds of its own, and the window asks for a sound scheme; the
    // display name is the pack's, the theme name the user's.
    press("下一步", "指针页");
    press("下一步", "WIN73");
    pick(159, 91, "系统默认声音方案");
    press("下一步", "WIN74");
    press("下一步", "WIN75");
    press("下一步", "生成页");
    EXPECT_EQ(app->text(field(159, 127)), "秋日港湾");
    typeInto(159, 92, name);
    ::PostMessageW(app->mainWindow(), WM_SYSCOMMAND, kInstallCommand, 0);
    const auto installReport = app->messageBox(15000ms);
    ASSERT_TRUE(installReport.has_value()) << "installing showed no report";
    EXPECT_EQ(
        installReport->text,
        "主题已安装: " + themeFile +
            "\n\n但以下 1 项未能完成:\n系统无法打开主题文件,请手动打开以应用主题: " + themeFile);
    app->confirm(*installReport);
    EXPECT_EQ(readFileBytes(installed + L"\\ICON\\file.ico"), icon);
    const std::string theme = readFileBytes(widen(themeFile)).value_or("");
    EXPECT_EQ(iniValue(theme, "VisualStyles", "Path"),
              toGbk("%SystemRoot%\\Resources\\Themes\\Aero\\Aero.msstyles"));
}

} // namespace
} // namespace quorvel::e2e
