// Keeping the wizard's work in the real window and generating from it on the command line: a
// Windows 7 theme generated with the generate button, saved as a project with Ctrl+S and the
// system's save dialog, generated again by `quorvel.exe --generate` into another folder (the same
// files, byte for byte, but for the save location written into the theme file), the command
// line's refusals and their exit codes, and the question on closing a modified project.
#include "WizardTest.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>

namespace quorvel::e2e {
namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
struct FindCloser {
    void operator()(HANDLE handle) const { ::FindClose(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

struct ProgramRun {
    DWORD exitCode = 0;
    std::string output;
};

// Runs quorvel.exe with arguments, its standard output a pipe that is read to the end.
ProgramRun runProgram(const std::wstring& arguments) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ProgramRun run{~0u, {}};
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        return run;
    }
    const Handle reader(readEnd);
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = nullptr;
    std::wstring commandLine = L"\"" + settings().program + L"\" " + arguments;
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(settings().program.c_str(), commandLine.data(), nullptr,
                                          nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    ::CloseHandle(writeEnd);
    if (!started) {
        return run;
    }
    const Handle processHandle(process.hProcess);
    const Handle threadHandle(process.hThread);
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(readEnd, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        run.output.append(buffer, read);
    }
    ::WaitForSingleObject(process.hProcess, 60000);
    ::GetExitCodeProcess(process.hProcess, &run.exitCode);
    return run;
}

// Every file below a folder by its path relative to it, with its content.
std::map<std::wstring, std::string> filesBelow(const std::wstring& folder) {
    std::map<std::wstring, std::string> files;
    const std::function<void(const std::wstring&)> walk = [&](const std::wstring& relative) {
        WIN32_FIND_DATAW data{};
        const HANDLE first = ::FindFirstFileW((folder + relative + L"\\*").c_str(), &data);
        if (first == INVALID_HANDLE_VALUE) {
            return;
        }
        const std::unique_ptr<void, FindCloser> search(first);
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                walk(relative + L"\\" + name);
            } else {
                files[relative + L"\\" + name] =
                    readFileBytes(folder + relative + L"\\" + name).value_or("(unreadable)");
            }
        } while (::FindNextFileW(search.get(), &data));
    };
    walk(L"");
    return files;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

class Project : public WizardTest {};

TEST_F(Project, SavedWithCtrlSGeneratedOnTheCommandLineAndAskedAboutOnClosing) {
    const std::wstring work = settings().workDir;
    ASSERT_FALSE(work.empty()) << "run with --work=DIR";
    const std::wstring styles = work + L"\\keep-styles";
    const std::wstring byWindow = work + L"\\keep-window";
    const std::wstring byCommand = work + L"\\keep-command";
    const std::wstring project = work + L"\\港湾方案.quorvel";
    for (const std::wstring& folder : {styles, byWindow, byCommand}) {
        ASSERT_TRUE(makeFolders(folder));
    }
    ASSERT_TRUE(writeFileBytes(styles + L"\\aero.msstyles", "aero style"));
    ASSERT_TRUE(writeFileBytes(styles + L"\\文档.ico", "icon"));

    start(L"win7");
    press("生成Win7主题", "WIN71");
    app->click(app->findAt(Kind::Button, 432, 92));
    ASSERT_TRUE(app->answerFileDialog(narrow(styles + L"\\文档.ico"), 5000ms));
    press("下一步", "指针页");
    pick(138, 18, "系统默认鼠标方案");
    press("下一步", "WIN73");
    pick(159, 91, "系统默认声音方案");
    press("下一步", "WIN74");
    press("下一步", "WIN75");
    app->click(app->findAt(Kind::Button, 432, 92));
    ASSERT_TRUE(app->answerFileDialog(narrow(styles + L"\\aero.msstyles"), 5000ms));
    typeInto(432, 198, "200");
    press("下一步", "生成页");
    typeInto(159, 92, "港湾");
    typeInto(159, 127, "秋日 港湾");
    typeInto(159, 161, narrow(byWindow));
    app->click(button("生  成"));
    const auto done = app->messageBox(10000ms);
    ASSERT_TRUE(done.has_value());
    ASSERT_EQ(done->text, "生成完毕!");
    app->confirm(*done);

    // Ctrl+S the first time asks for the file.
    app->key('S', false, true);
    const HWND saveDialog = app->fileDialog(5000ms);
    ASSERT_NE(saveDialog, nullptr) << "no save dialog";
    EXPECT_EQ(app->fileTypes(saveDialog), std::vector<std::string>{"Quorvel 方案 (*.quorvel)"});
    app->screenshot(saveDialog, L"project-save-dialog");
    app->enterFileName(saveDialog, narrow(project));
    ASSERT_TRUE(app->closed(saveDialog));
    ASSERT_TRUE(waitUntil([&] { return fileExists(project); }));
    const std::string saved = readFileBytes(project).value_or("");
    EXPECT_TRUE(saved.starts_with("; Quorvel project 1\r\n")) << saved.substr(0, 40);
    noMessageBox();

    // The command line, from that project into a folder of its own.
    const std::wstring quoted = L"\"" + project + L"\"";
    const ProgramRun generated =
        runProgram(L"--generate " + quoted + L" --save-to \"" + byCommand + L"\"");
    EXPECT_EQ(generated.exitCode, 0u);
    EXPECT_EQ(generated.output, "生成完毕!\r\n");
    std::map<std::wstring, std::string> expected = filesBelow(byWindow);
    ASSERT_FALSE(expected.empty());
    for (auto& [path, content] : expected) {
        replaceAll(content, toGbk(narrow(byWindow)), toGbk(narrow(byCommand)));
    }
    const std::map<std::wstring, std::string> written = filesBelow(byCommand);
    EXPECT_EQ(written.size(), expected.size());
    for (const auto& [path, content] : expected) {
        EXPECT_TRUE(written.contains(path) && written.at(path) == content) << narrow(path);
    }

    // Refusals: nothing is written, and each has its exit code and its message.
    const struct {
        std::wstring arguments;
        DWORD exitCode;
        std::string output;
    } refusals[] = {
        {L"--generate " + quoted + L" --save-to \"" + byCommand + L"\"", 2, "生成失败,请重试!\r\n"},
        {L"--generate \"" + work + L"\\无此文件.quorvel\"", 2,
         "无法读取文件: " + narrow(work) + "\\无此文件.quorvel\r\n"},
        {L"--generate " + quoted + L" --name", 64, "--name 缺少值 (needs a value)\r\n"},
        {L"--generate " + quoted + L" --colour red", 64, "未知选项 (unknown option): --colour\r\n"},
        {L"--help", 0, "用法 (Usage):\r\n"},
    };
    for (const auto& refusal : refusals) {
        const ProgramRun run = runProgram(refusal.arguments);
        EXPECT_EQ(run.exitCode, refusal.exitCode) << narrow(refusal.arguments);
        EXPECT_TRUE(run.output.starts_with(refusal.output)) << run.output;
    }
    EXPECT_EQ(filesBelow(byCommand), written);

    // A change after saving: closing asks; Cancel keeps the window, Yes saves and closes.
    typeInto(159, 127, "改过的 显示名");
    ::PostMessageW(app->mainWindow(), WM_CLOSE, 0, 0);
    auto question = app->messageBox(3000ms);
    ASSERT_TRUE(question.has_value()) << "closing a modified project did not ask";
    EXPECT_EQ(question->text, "方案 \"港湾方案.quorvel\" 已更改。是否保存更改?");
    app->screenshot(question->window, L"project-close-question");
    app->click(app->dialogButton(question->window, "取消"));
    ASSERT_TRUE(app->closed(question->window));
    EXPECT_TRUE(::IsWindow(app->mainWindow()));
    EXPECT_EQ(readFileBytes(project), saved);

    ::PostMessageW(app->mainWindow(), WM_CLOSE, 0, 0);
    question = app->messageBox(3000ms);
    ASSERT_TRUE(question.has_value());
    app->click(app->dialogButton(question->window, "是"));
    EXPECT_TRUE(waitUntil([&] { return !::IsWindow(app->mainWindow()); }, 5000ms));
    const std::string resaved = readFileBytes(project).value_or("");
    EXPECT_NE(resaved.find("DisplayName=改过的 显示名\r\n"), std::string::npos);
}

} // namespace
} // namespace quorvel::e2e
