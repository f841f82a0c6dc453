// Start-up: the command line first. A generation or the usage runs without a window and prints to
// the console or pipe the program was started from; otherwise the program's state, then the main
// window (with the file named on the command line opened in it) and its message loop, which work
// on that state until the window is closed. The window loads the common controls itself once its
// first page is shown.
#include "cli/CommandLine.h"
#include "model/AppState.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32SystemShell.h"
#include "wizard/win32/ThemeWizardWindow.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

// Writes to the standard output the program inherited (a pipe or file: UTF-8 with CR LF line
// ends), or else to the console of the process that started it. A program of the GUI subsystem
// gets no console of its own, so one started from a console window attaches to that one.
void print(const std::string& text) {
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    quorvel::UniqueFileHandle console;
    if (!out || out == INVALID_HANDLE_VALUE || ::GetFileType(out) == FILE_TYPE_UNKNOWN) {
        if (!::AttachConsole(ATTACH_PARENT_PROCESS)) {
            return;
        }
        console = quorvel::UniqueFileHandle(::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                                          FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                          nullptr, OPEN_EXISTING, 0, nullptr));
        if (!console) {
            return;
        }
        out = console.get();
    }
    DWORD mode = 0;
    if (::GetConsoleMode(out, &mode)) {
        const std::wstring wide = quorvel::toWide(text);
        DWORD written = 0;
        ::WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    std::string bytes;
    for (const char c : text) {
        if (c == '\n') {
            bytes += '\r';
        }
        bytes += c;
    }
    DWORD written = 0;
    ::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const std::vector<std::string> arguments =
        quorvel::splitCommandLine(quorvel::toUtf8(::GetCommandLineW()));
    const quorvel::CommandLine command = quorvel::parseCommandLine(arguments);
    if (command.action != quorvel::CommandLine::Action::Window) {
        quorvel::Win32Platform platform;
        quorvel::Win32SystemShell shell;
        const quorvel::CommandResult result = quorvel::runCommandLine(command, platform, &shell);
        print(result.output);
        return result.exitCode;
    }

    quorvel::AppState app;
    return quorvel::runThemeWizard(instance, showCommand, app, command.file);
}
