// The browse buttons in the real window with the system's real dialogs: the shared open-file
// dialog (its filter, the hidden read-only box, the folder of the last pick, a cancel), the
// slideshow's multi-select dialog (a new selection replaces the earlier one, a cancel keeps it),
// the folder browser (a cancel and a non-folder item keep the field), the main window disabled
// while a dialog is open, and the picked files through to the generated theme and its pack.
#include "WizardTest.h"

#include <algorithm>

namespace quorvel::e2e {
namespace {

class Pickers : public WizardTest {
protected:
    std::wstring work = settings().workDir;

    HWND browseButton(int left, int top) {
        const HWND b = app->findAt(Kind::Button, left, top);
        EXPECT_NE(b, nullptr) << "no button at " << left << "," << top;
        return b;
    }
    // Presses a browse button and returns the open-file dialog it shows; the main window is
    // disabled while the dialog is open.
    HWND openFileDialog(int left, int top) {
        const HWND b = browseButton(left, top);
        if (!b) {
            return nullptr;
        }
        app->click(b);
        const HWND dialog = app->fileDialog(5000ms);
        EXPECT_NE(dialog, nullptr) << "no file dialog from the button at " << left << "," << top;
        if (dialog) {
            EXPECT_FALSE(app->enabled(app->mainWindow())) << "main window enabled under a dialog";
            EXPECT_FALSE(app->showsReadOnlyBox(dialog));
        }
        return dialog;
    }
    void expectMainEnabledAgain() {
        EXPECT_TRUE(waitUntil([&] { return app->enabled(app->mainWindow()); }, 3000ms))
            << "main window still disabled after the dialog";
    }
    // Presses the save-location button and returns the folder browser it shows.
    HWND openFolderBrowser() {
        const HWND b = browseButton(432, 161);
        if (!b) {
            return nullptr;
        }
        app->click(b);
        const HWND browser = app->folderBrowser(5000ms);
        EXPECT_NE(browser, nullptr) << "no folder browser";
        if (browser) {
            EXPECT_FALSE(app->enabled(app->mainWindow())) << "main window enabled under a dialog";
        }
        return browser;
    }
};

TEST_F(Pickers, FilesAndFoldersComeThroughTheSystemDialogsIntoTheThemePack) {
    ASSERT_FALSE(work.empty()) << "run with --work=DIR";
    const std::wstring icons = work + L"\\选图\\图标";
    const std::wstring images = work + L"\\选图\\壁纸";
    const std::wstring styles = work + L"\\选图\\风格";
    const std::wstring out = work + L"\\选图\\保存到淺";
    for (const std::wstring& folder : {icons, images, styles, out}) {
        ASSERT_TRUE(makeFolders(folder));
    }
    // "淺" is 9C 5C in GBK: its second byte is a backslash there.
    ASSERT_TRUE(writeFileBytes(icons + L"\\淺.ico", "icon one"));
    ASSERT_TRUE(writeFileBytes(icons + L"\\文档.ico", "icon two"));
    for (const wchar_t* name : {L"a.jpg", L"淺.jpg", L"c.jpg", L"d.jpg"}) {
        ASSERT_TRUE(writeFileBytes(images + L"\\" + name, narrow(name)));
    }
    ASSERT_TRUE(writeFileBytes(styles + L"\\aero.msstyles", "style"));

    start(L"win7");
    walkWin7To("WIN71");

    // The first dialog: the icon filter only, no file name yet. A cancel changes nothing.
    HWND dialog = openFileDialog(432, 92);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(app->fileTypes(dialog), std::vector<std::string>{"系统图标"});
    EXPECT_EQ(app->fileNameBox(dialog), "");
    app->screenshot(dialog, L"20-file-dialog");
    ASSERT_TRUE(app->cancelDialog(dialog));
    expectMainEnabledAgain();
    EXPECT_EQ(app->text(field(159, 92)), "");

    dialog = openFileDialog(432, 92);
    ASSERT_NE(dialog, nullptr);
    app->enterFileName(dialog, narrow(icons + L"\\淺.ico"));
    ASSERT_TRUE(app->closed(dialog));
    expectMainEnabledAgain();
    EXPECT_EQ(app->text(field(159, 92)), narrow(icons + L"\\淺.ico"));

    // The next dialog opens on the last confirmed file, in its folder: a bare name is enough.
    dialog = openFileDialog(432, 127);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(app->fileNameBox(dialog), "淺.ico");
    app->screenshot(dialog, L"21-file-dialog-next");
    app->enterFileName(dialog, "文档.ico");
    ASSERT_TRUE(app->closed(dialog));
    EXPECT_EQ(app->text(field(159, 127)), narrow(icons + L"\\文档.ico"));
    // A cancel after a pick keeps the field.
    dialog = openFileDialog(432, 127);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(app->cancelDialog(dialog));
    EXPECT_EQ(app->text(field(159, 127)), narrow(icons + L"\\文档.ico"));

    press("下一步", "指针页");
    pick(138, 18, "系统默认鼠标方案");
    press("下一步", "WIN73");
    pick(159, 91, "系统默认声音方案");
    press("下一步", "WIN74");

    // The slideshow's own dialog: its title and filter; one image, then three that replace it.
    const auto chooseImages = [&](std::string_view names, const wchar_t* shot) {
        const HWND multi = openFileDialog(432, 198);
        ASSERT_NE(multi, nullptr);
        EXPECT_EQ(app->windowTitle(multi), "请选择需要的幻灯壁纸!");
        EXPECT_EQ(app->fileTypes(multi), std::vector<std::string>{"JPG文件"});
        // Into the images' folder first, then the names.
        app->enterFileName(multi, narrow(images));
        ASSERT_TRUE(::IsWindowVisible(multi)) << "a folder closed the dialog";
        app->fillFileName(multi, names);
        if (shot) {
            app->screenshot(multi, shot);
        }
        app->key(VK_RETURN);
        ASSERT_TRUE(app->closed(multi)) << "the multi-select dialog stayed open";
        expectMainEnabledAgain();
    };
    chooseImages("d.jpg", nullptr);
    EXPECT_EQ(app->text(field(159, 198)), "d.jpg;");
    chooseImages("\"a.jpg\" \"淺.jpg\" \"c.jpg\"", L"22-multi-select");
    EXPECT_EQ(app->text(field(159, 198)), "a.jpg;淺.jpg;c.jpg;");
    dialog = openFileDialog(432, 198);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(app->cancelDialog(dialog));
    EXPECT_EQ(app->text(field(159, 198)), "a.jpg;淺.jpg;c.jpg;");
    app->screenshot(L"23-WIN74-picked");

    press("下一步", "WIN75");
    // The shared dialog still opens on the last single pick, whatever the slideshow did.
    dialog = openFileDialog(432, 92);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(app->fileTypes(dialog), std::vector<std::string>{"可视化风格文件"});
    EXPECT_EQ(app->fileNameBox(dialog), "文档.ico");
    app->enterFileName(dialog, narrow(styles + L"\\aero.msstyles"));
    ASSERT_TRUE(app->closed(dialog));
    press("下一步", "生成页");

    // The folder browser: a cancel and a non-folder item keep what the field holds.
    typeInto(159, 161, "C:\\先前的位置");
    HWND browser = openFolderBrowser();
    ASSERT_NE(browser, nullptr);
    app->screenshot(browser, L"24-folder-browser");
    ASSERT_TRUE(app->cancelDialog(browser));
    expectMainEnabledAgain();
    EXPECT_EQ(app->text(field(159, 161)), "C:\\先前的位置");

    browser = openFolderBrowser();
    ASSERT_NE(browser, nullptr);
    ASSERT_TRUE(app->selectFolder(browser, L"")) << "the computer is not in the tree";
    app->screenshot(browser, L"25-folder-computer");
    // The browser may refuse the item itself; if it lets it through, the field keeps its text.
    const HWND ok = app->dialogButton(browser, "确定");
    ASSERT_NE(ok, nullptr);
    if (app->enabled(ok)) {
        app->click(ok);
        ASSERT_TRUE(app->closed(browser));
    } else {
        ASSERT_TRUE(app->cancelDialog(browser));
    }
    expectMainEnabledAgain();
    EXPECT_EQ(app->text(field(159, 161)), "C:\\先前的位置");

    browser = openFolderBrowser();
    ASSERT_NE(browser, nullptr);
    ASSERT_TRUE(app->selectFolder(browser, out)) << narrow(out);
    app->screenshot(browser, L"26-folder-chosen");
    app->click(app->dialogButton(browser, "确定"));
    ASSERT_TRUE(app->closed(browser));
    expectMainEnabledAgain();
    EXPECT_EQ(app->text(field(159, 161)), narrow(out));

    typeInto(159, 92, "选图主题");
    typeInto(159, 127, "选图 显示名");
    app->click(button("生  成"));
    const auto done = app->messageBox(10000ms);
    ASSERT_TRUE(done.has_value());
    EXPECT_EQ(done->text, "生成完毕!");
    app->confirm(*done);

    const std::wstring pack = out + L"\\选图主题";
    const auto theme = readFileBytes(pack + L".theme");
    ASSERT_TRUE(theme.has_value());
    const std::string installed = "%SystemRoot%\\resources\\Themes\\选图主题";
    EXPECT_EQ(iniValue(*theme, "CLSID\\{59031A47-3F72-44A7-89C5-5595FE6B30EE}\\DefaultIcon",
                       "DefaultValue"),
              toGbk(installed + "\\ICON\\淺.ico,0"));
    EXPECT_EQ(iniValue(*theme, "CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon",
                       "DefaultValue"),
              toGbk(installed + "\\ICON\\文档.ico,0"));
    EXPECT_EQ(readFileBytes(pack + L"\\ICON\\淺.ico"), "icon one");
    EXPECT_EQ(readFileBytes(pack + L"\\ICON\\文档.ico"), "icon two");
    const char* slideshow[] = {"a.jpg", "淺.jpg", "c.jpg"};
    for (int i = 0; i < 3; ++i) {
        const std::string name = slideshow[i];
        EXPECT_EQ(iniValue(*theme, "Slideshow", "Item" + std::to_string(i + 2) + "Path"),
                  toGbk(installed + "\\Wallpaper\\" + name));
        EXPECT_EQ(readFileBytes(pack + L"\\Wallpaper\\" + widen(name)), name);
    }
    EXPECT_FALSE(iniValue(*theme, "Slideshow", "Item5Path").has_value());
    EXPECT_FALSE(fileExists(pack + L"\\Wallpaper\\d.jpg"));
    EXPECT_EQ(readFileBytes(pack + L"\\aero.msstyles"), "style");
}

// A path of at least `length` characters below `base`, made of folders of up to 100 characters
// and ending in `tail`.
std::wstring longPath(const std::wstring& base, std::size_t length, const std::wstring& tail) {
    std::wstring path = base;
    while (path.size() + tail.size() < length) {
        const std::size_t room = length - tail.size() - path.size() - 1;
        path += L"\\" + std::wstring(std::clamp<std::size_t>(room, 1, 100), L'x');
    }
    return path + tail;
}

TEST_F(Pickers, LongPathsArriveWhole) {
    ASSERT_FALSE(work.empty()) << "run with --work=DIR";
    // A file whose path is as long as the system's classic limit allows, and a folder whose
    // path is longer than that limit.
    const std::wstring file = longPath(work + L"\\长路径\\文件", 259, L"\\淺.ico");
    const std::wstring folder = longPath(work + L"\\长路径\\文件夹", 300, L"");
    ASSERT_EQ(file.size(), 259u);
    ASSERT_EQ(folder.size(), 300u);
    ASSERT_TRUE(makeFolders(file.substr(0, file.rfind(L'\\'))));
    ASSERT_TRUE(writeFileBytes(file, "long"));
    ASSERT_TRUE(makeFolders(folder));

    start(L"win7");
    walkWin7To("WIN71");
    const HWND dialog = openFileDialog(432, 232);
    ASSERT_NE(dialog, nullptr);
    app->enterFileName(dialog, narrow(file));
    ASSERT_TRUE(app->closed(dialog));
    EXPECT_EQ(app->text(field(159, 232)), narrow(file));

    press("上一步", "主界面");
    walkWin7To("WIN76");
    const HWND browser = openFolderBrowser();
    ASSERT_NE(browser, nullptr);
    ASSERT_TRUE(app->selectFolder(browser, folder));
    app->click(app->dialogButton(browser, "确定"));
    ASSERT_TRUE(app->closed(browser));
    expectMainEnabledAgain();
    EXPECT_EQ(app->text(field(159, 161)), narrow(folder));
}

} // namespace
} // namespace quorvel::e2e
