// The scheme combos, the screensaver tick boxes and the system screensaver lists in the real
// window: their items, the controls each choice unlocks, the tick boxes answering the mouse
// button's release and never the keyboard, and the choices through to the generated theme file
// and pack of both wizards (a custom pointer scheme and the default sounds with a system
// screensaver on Windows 7; the default pointers and a custom sound scheme with an own
// screensaver file on Windows XP).
#include "WizardTest.h"

#include <vector>

namespace quorvel::e2e {
namespace {

const std::vector<std::string> kCursorItems = {"请选择鼠标方案(系统或自定)", "系统默认鼠标方案",
                                               "自定义鼠标方案"};
const std::vector<std::string> kSoundItems = {"请选择声音方案(系统或自定)", "系统默认声音方案",
                                              "自定义声音方案"};

class Choices : public WizardTest {
protected:
    std::wstring work = settings().workDir;

    // The path fields and browse buttons below the scheme's row of a pointer or sound page.
    struct Group {
        std::vector<HWND> fields;
        std::vector<HWND> buttons;
    };
    Group groupBelow(int top) {
        Group group;
        for (const Seen& s : app->visible()) {
            if (s.onPage.top > top) {
                if (s.kind == Kind::Field) {
                    group.fields.push_back(s.window);
                } else if (s.kind == Kind::Button && s.caption == "打开") {
                    group.buttons.push_back(s.window);
                }
            }
        }
        return group;
    }
    void expectGroup(const Group& group, std::size_t size, bool enabled) {
        EXPECT_EQ(group.fields.size(), size);
        EXPECT_EQ(group.buttons.size(), size);
        for (HWND f : group.fields) {
            EXPECT_EQ(app->enabled(f), enabled);
            EXPECT_EQ(app->text(f), "");
        }
        for (HWND b : group.buttons) {
            EXPECT_EQ(app->enabled(b), enabled);
        }
    }
    HWND tickAt(int left, int top) {
        const HWND tick = app->findAt(Kind::TickBox, left, top);
        EXPECT_NE(tick, nullptr) << "no tick box at " << left << "," << top;
        return tick;
    }
    // A click on a tick box: the press alone changes nothing, the release over it does.
    void clickTick(HWND tick) {
        const std::string before = app->text(tick);
        app->pressAt(tick, {10, 10});
        EXPECT_EQ(app->text(tick), before) << "the tick box reacted to the press";
        app->releaseAt(tick, {10, 10});
        EXPECT_TRUE(waitUntil([&] { return app->text(tick) != before; }, 2000ms))
            << "the tick box did not react to the release";
    }
    // Generates from the last page and returns the theme file's bytes.
    std::string generate(const std::wstring& out, const std::string& name) {
        typeInto(159, 92, name);
        typeInto(159, 127, name + " 显示名");
        typeInto(159, 161, narrow(out));
        app->click(button("生  成"));
        const auto done = app->messageBox(10000ms);
        EXPECT_TRUE(done.has_value());
        if (!done) {
            return {};
        }
        EXPECT_EQ(done->text, "生成完毕!");
        app->confirm(*done);
        return readFileBytes(out + L"\\" + widen(name) + L".theme").value_or("");
    }
};

TEST_F(Choices, Win7CustomPointersDefaultSoundsAndASystemScreensaverReachTheTheme) {
    ASSERT_FALSE(work.empty()) << "run with --work=DIR";
    const std::wstring files = work + L"\\选项七";
    const std::wstring out = files + L"\\out";
    ASSERT_TRUE(makeFolders(out));
    ASSERT_TRUE(writeFileBytes(files + L"\\忙.ani", "busy pointer"));
    ASSERT_TRUE(writeFileBytes(files + L"\\aero.msstyles", "style"));
    // The system's own screensaver, where the system keeps it.
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(::GetSystemDirectoryW(system, MAX_PATH), 0u);
    ASSERT_TRUE(writeFileBytes(std::wstring(system) + L"\\ssText3d.scr", "ribbons of text"));

    start(L"win7");
    walkWin7To("WIN72");
    EXPECT_EQ(app->text(app->findAt(Kind::List, 138, 18)), kCursorItems[0]);
    const HWND cursorName = field(320, 18);
    EXPECT_FALSE(app->enabled(cursorName));
    expectGroup(groupBelow(18), 15, false);

    std::vector<std::string> items;
    pick(138, 18, "自定义鼠标方案", &items);
    EXPECT_EQ(items, kCursorItems);
    EXPECT_TRUE(app->enabled(cursorName));
    EXPECT_EQ(app->text(cursorName), "");
    expectGroup(groupBelow(18), 15, true);
    pressRefused("下一步", "请填写鼠标方案名称后后再行操作...");
    typeInto(320, 18, "我的指针");
    std::vector<std::string> types;
    pickFile(192, 91, files + L"\\忙.ani", &types); // the busy pointer, second in the left column
    EXPECT_EQ(types, std::vector<std::string>{"鼠标指针"});
    EXPECT_EQ(app->text(field(57, 91)), narrow(files + L"\\忙.ani"));
    app->screenshot(L"30-WIN72-custom");
    press("下一步", "WIN73");

    pick(159, 91, "系统默认声音方案", &items);
    EXPECT_EQ(items, kSoundItems);
    const HWND soundName = field(341, 91);
    EXPECT_EQ(app->text(soundName), "@%SystemRoot%\\System32\\mmres.dll,-800");
    EXPECT_FALSE(app->enabled(soundName));
    expectGroup(groupBelow(91), 5, false);
    press("下一步", "WIN74");

    const HWND systemTick = tickAt(20, 92);
    const HWND ownTick = tickAt(20, 126);
    ASSERT_NE(systemTick, nullptr);
    ASSERT_NE(ownTick, nullptr);
    for (const Seen& s : app->visible()) {
        if (s.kind == Kind::TickBox) {
            EXPECT_EQ(s.onPage.right - s.onPage.left, 20);
            EXPECT_EQ(s.onPage.bottom - s.onPage.top, 20);
            EXPECT_EQ(s.caption, "");
        }
    }
    const HWND systemList = app->findAt(Kind::List, 195, 92);
    const HWND ownField = field(195, 127);
    const HWND ownBrowse = app->findAt(Kind::Button, 432, 127);
    EXPECT_FALSE(app->enabled(systemList));
    EXPECT_FALSE(app->enabled(ownField));
    EXPECT_FALSE(app->enabled(ownBrowse));

    // The keyboard never reaches a tick box: Tab goes round the page past them.
    app->click(field(159, 161));
    for (int i = 0; i < 12; ++i) {
        app->key(VK_TAB);
        EXPECT_NE(app->focus(), systemTick);
        EXPECT_NE(app->focus(), ownTick);
    }
    EXPECT_EQ(app->text(systemTick), "");
    EXPECT_EQ(app->text(ownTick), "");

    clickTick(systemTick);
    EXPECT_EQ(app->text(systemTick), "√");
    EXPECT_TRUE(app->enabled(systemList));
    pick(195, 92, "彩带", &items);
    EXPECT_EQ(items, (std::vector<std::string>{"请选择系统屏保", "照片", "彩带", "空白", "三维文字",
                                               "变幻线", "气泡"}));
    // The own file replaces the system choice; a second click clears it again.
    clickTick(ownTick);
    EXPECT_EQ(app->text(ownTick), "√");
    EXPECT_EQ(app->text(systemTick), "");
    EXPECT_EQ(app->text(systemList), "请选择系统屏保");
    EXPECT_FALSE(app->enabled(systemList));
    EXPECT_TRUE(app->enabled(ownField));
    EXPECT_TRUE(app->enabled(ownBrowse));
    clickTick(ownTick);
    EXPECT_EQ(app->text(ownTick), "");
    EXPECT_EQ(app->text(systemTick), "");
    EXPECT_FALSE(app->enabled(ownField));
    EXPECT_FALSE(app->enabled(ownBrowse));

    clickTick(systemTick);
    pick(195, 92, "三维文字");
    app->screenshot(L"31-WIN74-system-screensaver");
    press("下一步", "WIN75");
    pickFile(432, 92, files + L"\\aero.msstyles");
    press("下一步", "生成页");

    const std::string theme = generate(out, "七号选项");
    ASSERT_FALSE(theme.empty());
    const std::string installed = "%SystemRoot%\\resources\\Themes\\七号选项";
    EXPECT_EQ(iniValue(theme, "Control Panel\\Cursors", "DefaultValue"), toGbk("我的指针"));
    EXPECT_EQ(iniValue(theme, "Control Panel\\Cursors", "DefaultValue.MUI"), "@main.cpl,-1020");
    EXPECT_EQ(iniValue(theme, "Control Panel\\Cursors", "Wait"),
              toGbk(installed + "\\Cursors\\忙.ani"));
    EXPECT_EQ(iniValue(theme, "Control Panel\\Cursors", "Arrow"), "");
    EXPECT_EQ(iniValue(theme, "Sounds", "SchemeName"), "@%SystemRoot%\\System32\\mmres.dll,-800");
    EXPECT_EQ(iniValue(theme, "boot", "SCRNSAVE.EXE"), toGbk(installed + "\\SCR\\ssText3d.scr"));
    const std::wstring pack = out + L"\\七号选项";
    EXPECT_EQ(readFileBytes(pack + L"\\Cursors\\忙.ani"), "busy pointer");
    EXPECT_EQ(readFileBytes(pack + L"\\SCR\\ssText3d.scr"), "ribbons of text");
}

TEST_F(Choices, XpDefaultPointersCustomSoundsAndAnOwnScreensaverReachTheTheme) {
    ASSERT_FALSE(work.empty()) << "run with --work=DIR";
    const std::wstring files = work + L"\\选项XP";
    const std::wstring out = files + L"\\out";
    ASSERT_TRUE(makeFolders(out));
    ASSERT_TRUE(writeFileBytes(files + L"\\开机.wav", "start-up sound"));
    ASSERT_TRUE(writeFileBytes(files + L"\\我的.scr", "own screensaver"));
    ASSERT_TRUE(writeFileBytes(files + L"\\Luna.msstyles", "style"));

    start(L"winxp");
    press("生成WinXP主题", "XP1");
    press("下一步", "指针页");
    std::vector<std::string> items;
    pick(138, 18, "系统默认鼠标方案", &items);
    EXPECT_EQ(items, kCursorItems);
    EXPECT_EQ(app->text(field(320, 18)), "Windows default");
    EXPECT_FALSE(app->enabled(field(320, 18)));
    expectGroup(groupBelow(18), 15, false);
    press("下一步", "XP3");

    expectGroup(groupBelow(92), 4, false);
    pick(159, 92, "自定义声音方案", &items);
    EXPECT_EQ(items, kSoundItems);
    const HWND soundName = field(341, 92);
    EXPECT_TRUE(app->enabled(soundName));
    expectGroup(groupBelow(92), 4, true);
    pressRefused("下一步", "请填写声音方案名称后再行操作...");
    typeInto(341, 92, "我的声音");
    std::vector<std::string> types;
    pickFile(432, 161, files + L"\\开机.wav", &types); // the start-up sound, second row
    EXPECT_EQ(types, std::vector<std::string>{"WAV音频文件"});
    EXPECT_EQ(app->text(field(159, 161)), narrow(files + L"\\开机.wav"));
    app->screenshot(L"32-XP3-custom");
    press("下一步", "XP4");

    const HWND systemTick = tickAt(20, 92);
    const HWND ownTick = tickAt(20, 126);
    ASSERT_NE(systemTick, nullptr);
    ASSERT_NE(ownTick, nullptr);
    clickTick(systemTick);
    pick(195, 92, "飞跃星空", &items);
    EXPECT_EQ(items,
              (std::vector<std::string>{"请选择系统屏保", "Windows XP", "贝赛尔曲线", "三维花盒",
                                        "三维飞行物", "图片幻灯片收藏", "字幕", "变幻线", "空白",
                                        "三维管道", "飞跃星空", "三维文字"}));
    clickTick(ownTick);
    EXPECT_EQ(app->text(systemTick), "");
    EXPECT_FALSE(app->enabled(app->findAt(Kind::List, 195, 92)));
    pickFile(432, 127, files + L"\\我的.scr", &types);
    EXPECT_EQ(types, std::vector<std::string>{"屏幕保护文件"});
    EXPECT_EQ(app->text(field(195, 127)), narrow(files + L"\\我的.scr"));
    app->screenshot(L"33-XP4-own-screensaver");
    press("下一步", "XP5");
    pickFile(432, 92, files + L"\\Luna.msstyles");
    press("下一步", "生成页");

    const std::string theme = generate(out, "XP选项");
    ASSERT_FALSE(theme.empty());
    const std::string installed = "%SystemRoot%\\resources\\Themes\\XP选项";
    EXPECT_EQ(iniValue(theme, "Control Panel\\Cursors", "DefaultValue"), "Windows default");
    EXPECT_EQ(iniValue(theme, "AppEvents\\Schemes\\Apps\\.Default\\SystemStart\\.Current",
                       "DefaultValue"),
              toGbk(installed + "\\Sound\\开机.wav"));
    EXPECT_EQ(iniValue(theme, "boot", "SCRNSAVE.EXE"), toGbk(installed + "\\SCR\\我的.scr"));
    const std::wstring pack = out + L"\\XP选项";
    EXPECT_EQ(readFileBytes(pack + L"\\Sound\\开机.wav"), "start-up sound");
    EXPECT_EQ(readFileBytes(pack + L"\\SCR\\我的.scr"), "own screensaver");
    EXPECT_FALSE(fileExists(pack + L"\\SCR\\ssstars.scr"));
}

} // namespace
} // namespace quorvel::e2e
