// Installing from the real window: the system menu's "安装并应用...\tCtrl+I" installs the Windows 7
// theme of the pages into the prefix's per-user themes, and, as the prefix has no program for
// .theme files, the report names the file to open by hand. A second install of the same name with
// the shortcut asks first: No leaves the installed theme alone, Yes replaces it.
#include "WizardTest.h"

#include <gtest/gtest.h>

namespace quorvel::e2e {
namespace {

class Install : public WizardTest {
protected:
    std::wstring installed;
    ~Install() override {
        if (!installed.empty()) {
            ::DeleteFileW((installed + L"\\marker").c_str());
        }
    }
};

// The system command of the menu item "安装并应用...".
constexpr WPARAM kInstallCommand = 0x7280;

std::wstring expand(const wchar_t* text) {
    wchar_t buffer[MAX_PATH] = {};
    ::ExpandEnvironmentStringsW(text, buffer, MAX_PATH);
    return buffer;
}

TEST_F(Install, FromTheSystemMenuWithTheQuestionBeforeReplacing) {
    const std::wstring work = settings().workDir;
    ASSERT_FALSE(work.empty()) << "run with --work=DIR";
    const std::wstring styles = work + L"\\install-styles";
    ASSERT_TRUE(makeFolders(styles));
    ASSERT_TRUE(writeFileBytes(styles + L"\\港湾.msstyles", "style"));
    const std::string name = "港湾" + std::to_string(::GetTickCount() % 100000);
    installed = expand(L"%LOCALAPPDATA%\\Microsoft\\Windows\\Themes\\") + widen(name);
    const std::string themeFile = narrow(installed) + "\\" + name + ".theme";

    start(L"win7");
    press("生成Win7主题", "WIN71");
    press("下一步", "指针页");
    pick(138, 18, "系统默认鼠标方案");
    press("下一步", "WIN73");
    pick(159, 91, "系统默认声音方案");
    press("下一步", "WIN74");
    press("下一步", "WIN75");
    app->click(app->findAt(Kind::Button, 432, 92));
    ASSERT_TRUE(app->answerFileDialog(narrow(styles + L"\\港湾.msstyles"), 5000ms));
    press("下一步", "生成页");
    typeInto(159, 92, name);
    typeInto(159, 127, "秋日 港湾");

    // The command the system menu's item sends (as the desktop preview's test does: Wine keeps
    // a menu's items in the process that owns it, so the driver cannot find the item by text).
    ::PostMessageW(app->mainWindow(), WM_SYSCOMMAND, kInstallCommand, 0);
    auto report = app->messageBox(15000ms);
    ASSERT_TRUE(report.has_value()) << "installing showed no report";
    EXPECT_EQ(report->title, "提示...");
    EXPECT_EQ(
        report->text,
        "主题已安装: " + themeFile +
            "\n\n但以下 1 项未能完成:\n系统无法打开主题文件,请手动打开以应用主题: " + themeFile);
    app->screenshot(report->window, L"install-report");
    app->confirm(*report);
    noMessageBox();
    ASSERT_TRUE(fileExists(widen(themeFile)));
    const std::string theme = readFileBytes(widen(themeFile)).value_or("");
    EXPECT_EQ(iniValue(theme, "VisualStyles", "Path"),
              toGbk("%SystemRoot%\\resources\\Themes\\" + name + "\\港湾.msstyles"));
    ASSERT_TRUE(writeFileBytes(installed + L"\\marker", "old"));

    for (const char* answer : {"否", "是"}) {
        app->key('I', false, true);
        const auto question = app->messageBox(5000ms);
        ASSERT_TRUE(question.has_value()) << "no question before replacing";
        EXPECT_EQ(question->text, "已安装名为 \"" + name + "\" 的主题。是否用新生成的主题替换它?");
        app->click(app->dialogButton(question->window, answer));
        ASSERT_TRUE(app->closed(question->window));
        if (std::string_view(answer) == "否") {
            noMessageBox();
            EXPECT_TRUE(fileExists(installed + L"\\marker"));
        }
    }
    report = app->messageBox(15000ms);
    ASSERT_TRUE(report.has_value());
    app->confirm(*report);
    EXPECT_FALSE(fileExists(installed + L"\\marker"));
    EXPECT_TRUE(fileExists(widen(themeFile)));
}

} // namespace
} // namespace quorvel::e2e
