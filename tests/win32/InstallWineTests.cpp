// Installing under Wine through the program itself: the files land in the prefix's per-user
// theme folder, every path of the installed theme file exists, and the opening step hands the
// theme file to the program registered for .theme, or says which file to open when none is.
#include "ProgramPath.h"
#include "Sandbox.h"

#include "model/Texts.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32SystemShell.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

std::wstring windowsPathOf(std::string path) {
    if (!path.empty() && path.front() == '/') {
        path = "Z:" + path;
    }
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    return toWide(path);
}

// Registers the argument recorder as the program that opens .theme files, for the test's time.
class ThemeHandler {
public:
    ThemeHandler() {
        const std::wstring command = L"\"" + windowsPathOf(QUORVEL_RECORDER_PATH) + L"\" \"%1\"";
        set(L".theme", L"QuorvelTest.Theme");
        set(L"QuorvelTest.Theme\\shell\\open\\command", command);
    }
    ~ThemeHandler() {
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"QuorvelTest.Theme");
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L".theme");
    }

private:
    static void set(const wchar_t* key, const std::wstring& value) {
        HKEY opened = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                    &opened, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExW(opened, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(opened);
    }
};

class WineInstall : public testing::Test {
protected:
    std::unique_ptr<test::Sandbox> sandbox = test::makeSandbox();
    Platform& platform = sandbox->platform();
    Win32SystemShell shell;
    std::string root = sandbox->root();
    std::string name = "装" + std::to_string(::GetTickCount());
    std::vector<std::string> installed;

    ~WineInstall() override {
        for (const std::string& folder : installed) {
            shell.removeTree(folder);
        }
    }
    void write(const std::string& path, std::string_view text) {
        ASSERT_TRUE(platform.writeFile(
            path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}));
    }
    // quorvel.exe --generate PROJECT --install --name NAME; the exit code and the output.
    std::pair<DWORD, std::string> install(const std::string& themeName) {
        const std::string out = root + "\\out.txt";
        SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
        UniqueFileHandle output(::CreateFileW(toWide(out).c_str(), GENERIC_WRITE, 0, &inherit,
                                              CREATE_ALWAYS, 0, nullptr));
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output.get();
        std::wstring line = L"\"" + test::programPath() + L"\" --generate \"" +
                            toWide(root + "\\p.quorvel") + L"\" --install --name " +
                            toWide(themeName);
        PROCESS_INFORMATION process{};
        EXPECT_TRUE(::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                     nullptr, &startup, &process));
        const UniqueFileHandle processHandle(process.hProcess);
        const UniqueFileHandle threadHandle(process.hThread);
        ::WaitForSingleObject(process.hProcess, 60000);
        DWORD code = 99;
        ::GetExitCodeProcess(process.hProcess, &code);
        output = UniqueFileHandle(); // closed, so that it can be read
        installed.push_back(themeFolder(themeName));
        installed.push_back(shell.windowsFolder() + "\\Resources\\Themes\\" + themeName);
        return {code, platform.readFile(out).value_or("")};
    }
    std::string themeFolder(const std::string& themeName) {
        return platform.expandEnvironment("%LOCALAPPDATA%\\Microsoft\\Windows\\Themes\\") +
               themeName;
    }
    void expectPathsExist(const std::string& themeFile) {
        const std::string text =
            platform.fromAnsi(platform.readFile(themeFile).value_or("")).value();
        int checked = 0;
        for (std::size_t at = 0; (at = text.find('=', at)) != std::string::npos; ++at) {
            std::string value = text.substr(at + 1, text.find('\r', at) - at - 1);
            if (value.ends_with(",0")) {
                value.resize(value.size() - 2);
            }
            if (value.find(name) != std::string::npos) {
                const std::string path = platform.expandEnvironment(value);
                EXPECT_TRUE(platform.fileExists(path) || platform.isDirectory(path)) << path;
                ++checked;
            }
        }
        EXPECT_GE(checked, 4) << text;
    }
};

TEST_F(WineInstall, FilesLandInTheUsersThemesAndTheSystemOpensTheTheme) {
    for (const char* file : {"wall.jpg", "style.msstyles", "own.scr"}) {
        write(root + "\\" + file, file);
    }
    write(root + "\\p.quorvel",
          "; Quorvel project 1\r\n[Project]\r\nPageSet=Win7\r\n[Win7]\r\nPointerScheme=1\r\n"
          "SoundScheme=1\r\nWallpaper=" +
              root + "\\wall.jpg\r\nVisualStyle=" + root +
              "\\style.msstyles\r\nUseOwnScreensaver=1\r\nScreensaver=" + root +
              "\\own.scr\r\nThemeName=x\r\nDisplayName=秋日\r\n[Picks]\r\nWallpaper=" + root +
              "\\wall.jpg\r\nVisualStyle=" + root + "\\style.msstyles\r\nScreensaver=" + root +
              "\\own.scr\r\n[End]\r\n");
    const std::string record = root + "\\opened.txt";
    ::SetEnvironmentVariableW(L"QUORVEL_RECORD_FILE", toWide(record).c_str());
    const std::string themeFile = themeFolder(name) + "\\" + name + ".theme";
    {
        const ThemeHandler handler;
        const auto [code, output] = install(name);
        EXPECT_EQ(code, 0u) << output;
        EXPECT_EQ(output.find(text::kInstalledAndOpened), 0u) << output;
        for (int wait = 0; wait < 100 && !platform.fileExists(record); ++wait) {
            ::Sleep(100);
        }
        EXPECT_NE(platform.readFile(record).value_or("").find(themeFile), std::string::npos)
            << platform.readFile(record).value_or("(nothing recorded)");
    }
    expectPathsExist(themeFile);

    // Without a program for .theme: one failed line naming the file; the files stay.
    const std::string other = name + "b";
    const auto [code, output] = install(other);
    EXPECT_EQ(code, 1u) << output;
    const std::string otherFile = themeFolder(other) + "\\" + other + ".theme";
    EXPECT_NE(output.find(std::string(text::kOpenThemeFailed) + otherFile), std::string::npos)
        << output;
    EXPECT_TRUE(platform.fileExists(otherFile));

    // The same name once more: refused, nothing changes.
    const auto [again, refusal] = install(name);
    EXPECT_EQ(again, 2u) << refusal;
}

} // namespace
} // namespace quorvel
