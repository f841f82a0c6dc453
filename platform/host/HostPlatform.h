// The platform layer on Linux, for tests: Windows-style paths ("C:\a\b") are mapped onto a
// folder of the host ("<root>/C/a/b"), message boxes, delays and opened web addresses are recorded
// instead of shown, slept or opened, the system version is whatever the test sets, the ANSI code
// page is GBK (through iconv) and %NAME% is expanded from a table of its own.
#pragma once

#include "platform/Platform.h"

#include <filesystem>
#include <map>

namespace quorvel {

class HostPlatform : public Platform {
public:
    struct Message {
        std::string text;
        MessageIcon icon;
        std::string title;
    };

    explicit HostPlatform(std::filesystem::path root);

    bool makeDirectory(const std::string& path) override;
    bool isDirectory(const std::string& path) override;
    bool copyFile(const std::string& source, const std::string& target) override;
    bool writeFile(const std::string& path, std::span<const std::uint8_t> bytes) override;
    bool replaceFile(const std::string& path, std::span<const std::uint8_t> bytes) override;
    // An uncompressed cabinet (one folder, no compression whatever the members ask for, block
    // checksums 0), written by the program itself.
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
    OsVersion osVersion() override { return osVersion_; }
    void openWebAddress(const std::string& address) override;

    // The host path that a Windows-style path maps to.
    std::filesystem::path hostPath(const std::string& path) const;
    void setEnvironment(const std::string& name, const std::string& value);
    // The version osVersion reports; 6.1 unless set.
    void setOsVersion(OsVersion version) { osVersion_ = version; }

    const std::vector<Message>& messages() const { return messages_; }
    const std::vector<int>& delays() const { return delays_; }
    const std::vector<std::string>& openedAddresses() const { return openedAddresses_; }

private:
    std::filesystem::path root_;
    std::map<std::string, std::string> environment_; // names upper-cased
    std::vector<Message> messages_;
    std::vector<int> delays_;
    OsVersion osVersion_{6, 1};
    std::vector<std::string> openedAddresses_;
};

} // namespace quorvel
