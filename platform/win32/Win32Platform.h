// The platform layer over the Win32 wide functions. Texts cross the boundary as UTF-8 and are
// converted with toWide / toUtf8; the ANSI code page is the system's (936 on the target systems).
#pragma once

#include "platform/Platform.h"

#include <windows.h>

namespace quorvel {

class Win32Platform : public Platform {
public:
    bool makeDirectory(const std::string& path) override;
    bool isDirectory(const std::string& path) override;
    bool copyFile(const std::string& source, const std::string& target) override;
    bool writeFile(const std::string& path, std::span<const std::uint8_t> bytes) override;
    bool replaceFile(const std::string& path, std::span<const std::uint8_t> bytes) override;
    // Through the cabinet library's writer (platform/win32/CabinetWriter.cpp).
    CabinetResult writeCabinet(const std::string& path,
                               std::span<const CabinetEntry> members) override;
    bool fileExists(const std::string& path) override;
    std::optional<std::string> readFile(const std::string& path) override;
    BoundedRead readRegularFile(const std::string& path, std::uint64_t maxBytes) override;
    FilePart readFilePart(const std::string& path, std::uint64_t offset,
                          std::size_t count) override;
    std::optional<std::vector<DirectoryEntry>> listDirectory(const std::string& path) override;
    std::string expandEnvironment(const std::string& text) override;
    bool movePath(const std::string& from, const std::string& to) override;
    bool removePath(const std::string& path) override;
    std::optional<std::uint64_t> freeSpace(const std::string& folder) override;
    std::string localDataFolder() override;
    CabinetStatus readCabinet(const std::string& path, const CabinetVisitor& visit) override;
    std::optional<std::string> toAnsi(std::string_view utf8) override;
    std::optional<std::string> fromAnsi(std::string_view ansi) override;
    bool isAnsiLeadByte(unsigned char byte) override;
    void messageBox(const std::string& text, MessageIcon icon, const std::string& title) override;
    void delay(int milliseconds) override;
    OsVersion osVersion() override;
    void openWebAddress(const std::string& address) override;

    // The window that owns the message boxes; nullptr for none. A window that no longer exists
    // owns nothing.
    void setOwnerWindow(HWND owner) { owner_ = owner; }

private:
    HWND owner_ = nullptr;
};

} // namespace quorvel
