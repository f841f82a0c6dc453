// A platform layer that hands every call to another one. Decorators derive from it and
// override only what they change (tests record message boxes, benchmarks count pauses).
#pragma once

#include "platform/Platform.h"

namespace quorvel {

class ForwardingPlatform : public Platform {
public:
    explicit ForwardingPlatform(Platform& target) : target_(target) {}

    bool makeDirectory(const std::string& path) override { return target_.makeDirectory(path); }
    bool isDirectory(const std::string& path) override { return target_.isDirectory(path); }
    bool copyFile(const std::string& source, const std::string& target) override {
        return target_.copyFile(source, target);
    }
    bool writeFile(const std::string& path, std::span<const std::uint8_t> bytes) override {
        return target_.writeFile(path, bytes);
    }
    bool replaceFile(const std::string& path, std::span<const std::uint8_t> bytes) override {
        return target_.replaceFile(path, bytes);
    }
    CabinetResult writeCabinet(const std::string& path,
                               std::span<const CabinetEntry> members) override {
        return target_.writeCabinet(path, members);
    }
    bool fileExists(const std::string& path) override { return target_.fileExists(path); }
    std::optional<std::string> readFile(const std::string& path) override {
        return target_.readFile(path);
    }
    BoundedRead readRegularFile(const std::string& path, std::uint64_t maxBytes) override {
        return target_.readRegularFile(path, maxBytes);
    }
    FilePart readFilePart(const std::string& path, std::uint64_t offset,
                          std::size_t count) override {
        return target_.readFilePart(path, offset, count);
    }
    std::optional<std::vector<DirectoryEntry>> listDirectory(const std::string& path) override {
        return target_.listDirectory(path);
    }
    std::string expandEnvironment(const std::string& text) override {
        return target_.expandEnvironment(text);
    }
    bool movePath(const std::string& from, const std::string& to) override {
        return target_.movePath(from, to);
    }
    bool removePath(const std::string& path) override { return target_.removePath(path); }
    std::optional<std::uint64_t> freeSpace(const std::string& folder) override {
        return target_.freeSpace(folder);
    }
    std::string localDataFolder() override { return target_.localDataFolder(); }
    CabinetStatus readCabinet(const std::string& path, const CabinetVisitor& visit) override {
        return target_.readCabinet(path, visit);
    }
    std::optional<std::string> toAnsi(std::string_view utf8) override {
        return target_.toAnsi(utf8);
    }
    std::optional<std::string> fromAnsi(std::string_view ansi) override {
        return target_.fromAnsi(ansi);
    }
    bool isAnsiLeadByte(unsigned char byte) override { return target_.isAnsiLeadByte(byte); }
    void messageBox(const std::string& text, MessageIcon icon, const std::string& title) override {
        target_.messageBox(text, icon, title);
    }
    void delay(int milliseconds) override { target_.delay(milliseconds); }
    OsVersion osVersion() override { return target_.osVersion(); }
    void openWebAddress(const std::string& address) override { target_.openWebAddress(address); }

private:
    Platform& target_;
};

} // namespace quorvel
