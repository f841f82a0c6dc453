// The program in a real window, driven from outside like a user: the operating-system gate under
// five Windows versions, both wizards walked page by page (with their checks, the about page and
// its return, the web-site buttons), the slideshow interval preset, fields keeping their texts,
// the keyboard order, and the generate buttons. Every page is saved as a screenshot on the way.
#include "WizardTest.h"

#include <gtest/gtest.h>

#include <set>

namespace quorvel::e2e {

using namespace std::chrono_literals;

// The page shown, told apart by what is on it. WIN72 and XP2 look alike, and so do WIN76 and
// XP6; the tests know from where they came.
std::string pageSeen(const App& app) {
    bool win7Icons = false, xpIcons = false, styleField256 = false, fieldAt127 = false;
    bool pointerList = false, xpSoundList = false, fifthSound = false, tick = false;
    for (const Seen& s : app.visible()) {
        const int x = s.onPage.left, y = s.onPage.top, w = s.onPage.right - s.onPage.left;
        if (s.kind == Kind::Button && s.caption == "生成Win7主题") {
            return "主界面";
        }
        if (s.kind == Kind::Button && s.caption == "返回主界面") {
            return "软件信息";
        }
        if (s.kind == Kind::Button && s.caption == "多选") {
            return "WIN74";
        }
        if (s.kind == Kind::Button && s.caption == "选择颜色") {
            return "WIN75";
        }
        if (s.kind == Kind::Button && s.caption == "生  成") {
            return "生成页";
        }
        if (s.kind == Kind::Field && x == 159 && y == 232) {
            (w == 256 ? win7Icons : xpIcons) = true;
        }
        styleField256 |= s.kind == Kind::Field && x == 159 && y == 92 && w == 256;
        fieldAt127 |= s.kind == Kind::Field && x == 159 && y == 127;
        pointerList |= s.kind == Kind::List && x == 138 && y == 18;
        xpSoundList |= s.kind == Kind::List && x == 159 && y == 92;
        fifthSound |= s.kind == Kind::Field && x == 159 && y == 242;
        tick |= s.kind == Kind::TickBox && x == 20 && y == 92;
    }
    if (pointerList) {
        return "指针页";
    }
    if (fifthSound) {
        return "WIN73";
    }
    if (xpSoundList) {
        return "XP3";
    }
    if (tick) {
        return "XP4";
    }
    if (win7Icons) {
        return "WIN71";
    }
    if (xpIcons) {
        return "XP1";
    }
    if (styleField256 && !fieldAt127) {
        return "XP5";
    }
    return "?";
}

namespace {

class Wizard : public WizardTest {};

TEST_F(Wizard, TheGateOpensEachWizardOnlyOnItsOwnSystem) {
    struct Case {
        const wchar_t* version;
        const char* name;
        bool win7;
        bool xp;
    };
    const Case cases[] = {
        {L"winxp", "5.1", false, true},   {L"win2003", "5.2", false, false},
        {L"win7", "6.1", true, false},    {L"win8", "6.2", false, false},
        {L"win10", "10.0", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start(c.version);
        if (c.win7) {
            press("生成Win7主题", "WIN71");
            press("上一步", "主界面");
        } else {
            pressRefused("生成Win7主题", "此功能只能在WIN7系统下使用!");
        }
        if (c.xp) {
            press("生成WinXP主题", "XP1");
            press("上一步", "主界面");
        } else {
            pressRefused("生成WinXP主题", "此功能只能在XP系统下使用!");
        }
        app.reset();
    }
}

TEST_F(Wizard, Win7PagesForwardBackAboutAndWebSite) {
    start(L"win7");
    app->screenshot(L"00-main");
    press("查看软件の信息", "软件信息");
    app->screenshot(L"01-about");
    press("返回主界面", "主界面");

    press("生成Win7主题", "WIN71");
    app->screenshot(L"02-WIN71");
    aboutTrip("WIN71");
    press("上一步", "主界面");
    press("生成Win7主题", "WIN71");
    app->click(button("官  网"));
    noMessageBox();
    EXPECT_EQ(pageSeen(*app), "WIN71");

    press("下一步", "指针页");
    app->screenshot(L"03-WIN72");
    pressRefused("下一步", "请选择鼠标方案后再行操作...");
    pick(138, 18, "系统默认鼠标方案");
    const HWND schemeName = field(320, 18);
    EXPECT_EQ(app->text(schemeName), "Windows Aero");
    EXPECT_FALSE(app->enabled(schemeName));
    press("上一步", "WIN71");
    press("下一步", "指针页");
    press("下一步", "WIN73");
    app->screenshot(L"04-WIN73");
    aboutTrip("WIN73");
    pressRefused("下一步", "请选择声音方案后再行操作...");
    pick(159, 91, "系统默认声音方案");
    press("下一步", "WIN74");
    app->screenshot(L"05-WIN74");
    aboutTrip("WIN74");
    press("下一步", "WIN75");
    app->screenshot(L"06-WIN75");
    pressRefused("下一步", "必须指定可视化风格文件!");
    typeInto(159, 92, "C:\\windows\\resources\\themes\\aero\\aero.msstyles");
    press("下一步", "生成页");
    app->screenshot(L"07-WIN76");
    aboutTrip("生成页");

    press("上一步", "WIN75");
    aboutTrip("WIN75");
    press("上一步", "WIN74");
    press("上一步", "WIN73");
    press("上一步", "指针页");
    press("上一步", "WIN71");
    press("上一步", "主界面");
    press("查看软件の信息", "软件信息");
    press("返回主界面", "主界面");
}

TEST_F(Wizard, XpPagesForwardBackAboutAndTheStyleCheck) {
    start(L"winxp");
    press("生成WinXP主题", "XP1");
    app->screenshot(L"08-XP1");
    aboutTrip("XP1");
    press("下一步", "指针页");
    app->screenshot(L"09-XP2");
    pressRefused("下一步", "请选择鼠标方案后再行操作...");
    pick(138, 18, "系统默认鼠标方案");
    EXPECT_EQ(app->text(field(320, 18)), "Windows default");
    press("下一步", "XP3");
    app->screenshot(L"10-XP3");
    pick(159, 92, "系统默认声音方案");
    press("下一步", "XP4");
    app->screenshot(L"11-XP4");
    aboutTrip("XP4");
    press("下一步", "XP5");
    app->screenshot(L"12-XP5");
    pressRefused("下一步", "必须指定可视化风格文件!");
    typeInto(159, 92, "C:\\windows\\resources\\themes\\luna\\luna.msstyles");
    press("下一步", "生成页");
    app->screenshot(L"13-XP6");
    app->click(button("官  网"));
    noMessageBox();
    aboutTrip("生成页");
    press("上一步", "XP5");
    press("上一步", "XP4");
    press("上一步", "XP3");
    press("上一步", "指针页");
    press("上一步", "XP1");
    press("上一步", "主界面");
}

TEST_F(Wizard, SlideshowIntervalIsPresetOnlyWhenEmptyOnTheForwardPassFromWin74) {
    start(L"win7");
    walkWin7To("WIN74");
    press("下一步", "WIN75");
    EXPECT_EQ(app->text(field(159, 127)), "");
    EXPECT_FALSE(app->enabled(field(159, 127)));

    press("上一步", "WIN74");
    typeInto(159, 198, "a.jpg;b.jpg;");
    press("下一步", "WIN75");
    EXPECT_EQ(app->text(field(159, 127)), "180");
    EXPECT_TRUE(app->enabled(field(159, 127)));

    typeInto(159, 127, "45");
    press("上一步", "WIN74");
    press("下一步", "WIN75");
    EXPECT_EQ(app->text(field(159, 127)), "45");

    press("上一步", "WIN74");
    typeInto(159, 198, "");
    press("下一步", "WIN75");
    EXPECT_EQ(app->text(field(159, 127)), "");
    EXPECT_FALSE(app->enabled(field(159, 127)));
}

TEST_F(Wizard, FieldsKeepTheirTextsWhileMovingBackAndForth) {
    start(L"win7");
    walkWin7To("WIN71");
    const int tops[] = {92, 127, 161, 198, 232};
    const char* texts[] = {"C:\\图标\\文档.ico", "C:\\图标\\淺.ico", "C:\\图标\\奬.ico",
                           "D:\\空.ico", "D:\\满.ico"};
    for (int i = 0; i < 5; ++i) {
        typeInto(159, tops[i], texts[i]);
    }
    press("下一步", "指针页");
    press("上一步", "WIN71");
    aboutTrip("WIN71");
    press("上一步", "主界面");
    press("生成Win7主题", "WIN71");
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(app->text(field(159, tops[i])), texts[i]);
    }

    press("下一步", "指针页");
    pick(138, 18, "系统默认鼠标方案");
    press("下一步", "WIN73");
    pick(159, 91, "系统默认声音方案");
    press("下一步", "WIN74");
    typeInto(159, 161, "C:\\壁纸\\山.jpg");
    press("下一步", "WIN75");
    typeInto(159, 92, "C:\\风格\\aero.msstyles");
    press("下一步", "生成页");
    typeInto(159, 92, "我的主题");
    typeInto(159, 127, "我的主题 显示名");
    typeInto(159, 161, "C:\\主题");
    for (const char* back : {"WIN75", "WIN74", "WIN73"}) {
        press("上一步", back);
    }
    press("下一步", "WIN74");
    EXPECT_EQ(app->text(field(159, 161)), "C:\\壁纸\\山.jpg");
    press("下一步", "WIN75");
    EXPECT_EQ(app->text(field(159, 92)), "C:\\风格\\aero.msstyles");
    press("下一步", "生成页");
    EXPECT_EQ(app->text(field(159, 92)), "我的主题");
    EXPECT_EQ(app->text(field(159, 127)), "我的主题 显示名");
    EXPECT_EQ(app->text(field(159, 161)), "C:\\主题");
}

TEST_F(Wizard, TheXpGenerateButtonWritesThePackAndLeavesThePageShown) {
    // A visual style to pick, and a folder to save into.
    const std::wstring work = settings().workDir;
    ASSERT_FALSE(work.empty()) << "run with --work=DIR";
    const std::wstring styles = work + L"\\styles";
    const std::wstring out = work + L"\\out";
    ::CreateDirectoryW(styles.c_str(), nullptr);
    ::CreateDirectoryW(out.c_str(), nullptr);
    ASSERT_TRUE(writeFileBytes(styles + L"\\Luna.msstyles", "a visual style"));
    ASSERT_TRUE(directoryExists(out));

    start(L"winxp");
    press("生成WinXP主题", "XP1");
    press("下一步", "指针页");
    pick(138, 18, "系统默认鼠标方案");
    press("下一步", "XP3");
    pick(159, 92, "系统默认声音方案");
    press("下一步", "XP4");
    press("下一步", "XP5");
    app->click(app->findAt(Kind::Button, 432, 92));
    ASSERT_TRUE(app->answerFileDialog(narrow(styles + L"\\Luna.msstyles"), 5000ms));
    EXPECT_TRUE(waitUntil([&] { return app->text(field(159, 92)).ends_with("Luna.msstyles"); }))
        << app->text(field(159, 92));
    press("下一步", "生成页");

    // The three fields are checked first; the page stays.
    pressRefused("生  成", "生成名称不能为空!");
    typeInto(159, 92, "端到端主题");
    typeInto(159, 127, "端到端 显示名");
    typeInto(159, 161, narrow(out));
    app->click(button("生  成"));
    const auto done = app->messageBox(10000ms);
    ASSERT_TRUE(done.has_value());
    EXPECT_EQ(done->title, "提示...");
    EXPECT_EQ(done->text, "生成完毕!");
    app->screenshot(L"14-XP6-generated");
    app->confirm(*done);
    EXPECT_EQ(pageSeen(*app), "生成页");
    EXPECT_EQ(app->text(field(159, 92)), "端到端主题");
    EXPECT_TRUE(app->enabled(field(159, 92)));

    const auto theme = readFileBytes(out + L"\\端到端主题.theme");
    ASSERT_TRUE(theme.has_value());
    EXPECT_NE(theme->find("DisplayName=" + toGbk("端到端 显示名") + "\r\n"), std::string::npos);
    EXPECT_NE(theme->find("Luna.msstyles"), std::string::npos);
    EXPECT_EQ(readFileBytes(out + L"\\端到端主题\\Luna.msstyles"), "a visual style");

    // The same name again: the pack folder exists, the run refuses, the page stays.
    pressRefused("生  成", "生成失败,请重试!");
    EXPECT_EQ(pageSeen(*app), "生成页");
}

TEST_F(Wizard, TheWin7GenerateButtonWritesThePackAndLeavesThePageShown) {
    const std::wstring work = settings().workDir;
    ASSERT_FALSE(work.empty()) << "run with --work=DIR";
    const std::wstring styles = work + L"\\aero";
    const std::wstring out = work + L"\\out7";
    ::CreateDirectoryW(styles.c_str(), nullptr);
    ::CreateDirectoryW(out.c_str(), nullptr);
    ASSERT_TRUE(writeFileBytes(styles + L"\\aero.msstyles", "aero style"));

    start(L"win7");
    walkWin7To("WIN75");
    app->click(app->findAt(Kind::Button, 432, 92));
    ASSERT_TRUE(app->answerFileDialog(narrow(styles + L"\\aero.msstyles"), 5000ms));
    EXPECT_TRUE(waitUntil([&] { return app->text(field(159, 92)).ends_with("aero.msstyles"); }))
        << app->text(field(159, 92));
    typeInto(432, 198, "255");
    press("下一步", "生成页");
    typeInto(159, 92, "七号主题");
    typeInto(159, 127, "七号 显示名");
    typeInto(159, 161, narrow(out));
    app->click(button("生  成"));
    const auto done = app->messageBox(10000ms);
    ASSERT_TRUE(done.has_value());
    EXPECT_EQ(done->title, "提示...");
    EXPECT_EQ(done->text, "生成完毕!");
    app->screenshot(L"15-WIN76-generated");
    app->confirm(*done);
    EXPECT_EQ(pageSeen(*app), "生成页");

    const auto theme = readFileBytes(out + L"\\七号主题.theme");
    ASSERT_TRUE(theme.has_value());
    EXPECT_NE(theme->find("DisplayName=" + toGbk("七号 显示名") + "\r\n"), std::string::npos);
    // The transparency typed on WIN75 and the colour field's text, captured by its next button.
    EXPECT_NE(theme->find("ColorizationColor=0xFF0066FF"), std::string::npos);
    EXPECT_EQ(readFileBytes(out + L"\\七号主题\\aero.msstyles"), "aero style");
    EXPECT_TRUE(fileExists(out + L"\\七号主题\\zh-CN\\aero.msstyles.mui"));
}

TEST_F(Wizard, TabFollowsThePageAndEnterInAFieldDoesNothing) {
    start(L"win7");
    walkWin7To("WIN76");
    const HWND name = field(159, 92);
    const HWND display = field(159, 127);
    const HWND location = field(159, 161);
    const HWND browse = app->findAt(Kind::Button, 432, 161);
    const HWND about = button("关  于");
    app->click(name);
    ASSERT_TRUE(waitUntil([&] { return app->focus() == name; }, 2000ms));
    app->key(VK_TAB);
    EXPECT_TRUE(waitUntil([&] { return app->focus() == display; }, 2000ms))
        << "focus not on display";
    app->key(VK_TAB);
    EXPECT_TRUE(waitUntil([&] { return app->focus() == location; }, 2000ms))
        << "focus not on location";
    app->key(VK_TAB);
    EXPECT_TRUE(waitUntil([&] { return app->focus() == browse; }, 2000ms)) << "focus not on browse";
    app->key(VK_TAB);
    EXPECT_TRUE(waitUntil([&] { return app->focus() == about; }, 2000ms)) << "focus not on about";
    app->key(VK_TAB, true);
    EXPECT_TRUE(waitUntil([&] { return app->focus() == browse; }, 2000ms)) << "focus not on browse";
    app->key(VK_TAB, true);
    app->key(VK_TAB, true);
    EXPECT_TRUE(waitUntil([&] { return app->focus() == display; }, 2000ms))
        << "focus not on display";

    // Typing after Tab lands in the field that has the focus.
    app->type(name, "abc");
    app->key(VK_TAB);
    app->key('X');
    EXPECT_TRUE(waitUntil([&] { return app->text(display) == "x"; }, 2000ms)) << app->text(display);

    app->click(name);
    app->key(VK_RETURN);
    noMessageBox();
    EXPECT_EQ(pageSeen(*app), "生成页");
    EXPECT_EQ(app->text(name), "abc");

    // Enter on a focused button presses it.
    app->click(name);
    for (int i = 0; i < 5; ++i) {
        app->key(VK_TAB); // display, location, browse, about, back
    }
    app->key(VK_RETURN);
    EXPECT_TRUE(waitUntil([&] { return pageSeen(*app) == "WIN75"; }, 2000ms)) << pageSeen(*app);
}

TEST_F(Wizard, TheFirstPageButtonsTakeTheMouseAndTheKeyboardAsButtons) {
    start(L"win7");
    const HWND win7 = button("生成Win7主题");
    const HWND xp = button("生成WinXP主题");
    // A click on the page itself (not on a control) brings the window to the front if it is not
    // there yet (on a display without a window manager the program that ran before may have
    // taken the activation with it); the focus is then on the page's first button.
    const HWND page = ::GetParent(win7);
    app->pressAt(page, {300, 30});
    app->releaseAt(page, {300, 30});
    EXPECT_TRUE(waitUntil([&] { return app->focus() == win7; }, 2000ms))
        << "the focus is not on the first button";

    // Pressed, then released over another button: nothing happens.
    app->pressAt(win7, {20, 20});
    app->screenshot(L"00-main-pressed");
    app->releaseAt(xp, {20, 20});
    noMessageBox();
    EXPECT_EQ(pageSeen(*app), "主界面");

    // Tab moves to the next button and Space presses it: the XP wizard is closed under 7.
    app->key(VK_TAB);
    EXPECT_TRUE(waitUntil([&] { return app->focus() == xp; }, 2000ms));
    app->key(VK_SPACE);
    const auto box = app->messageBox(5000ms);
    ASSERT_TRUE(box.has_value()) << "Space did not press the button";
    EXPECT_EQ(box->text, "此功能只能在XP系统下使用!");
    // The box is owned by the main window, which takes no input while it shows.
    EXPECT_EQ(::GetWindow(box->window, GW_OWNER), app->mainWindow());
    EXPECT_FALSE(::IsWindowEnabled(app->mainWindow()));
    app->confirm(*box);
    EXPECT_EQ(pageSeen(*app), "主界面");

    // Back from the message, the focus is where it was; Shift+Tab and Enter open the wizard.
    EXPECT_TRUE(waitUntil([&] { return app->focus() == xp; }, 2000ms));
    app->key(VK_TAB, true);
    app->key(VK_RETURN);
    EXPECT_TRUE(waitUntil([&] { return pageSeen(*app) == "WIN71"; }, 2000ms)) << pageSeen(*app);
}

} // namespace
} // namespace quorvel::e2e
