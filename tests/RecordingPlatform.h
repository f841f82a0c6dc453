// A platform layer for tests: files go to the real layer of the build, message boxes, delays and
// opened web addresses are recorded instead of shown, slept or opened, and the system version is
// whatever the test sets.
#pragma once

#include "platform/Platform.h"

#include <string>
#include <vector>

namespace quorvel::test {

class RecordingPlatform : public Platform {
public:
    struct Message {
        std::string text;
        MessageIcon icon;
        std::string title;
    };

    explicit RecordingPlatform(Platform& real) : real_(real) {}

    bool makeDirectory(const std::string& path) override { return real_.makeDirectory(path); }
    bool isDirectory(const std::string& path) override { return real_.isDirectory(path); }
    bool copyFile(const std::string& source, const std::string& target) override {
        return real_.copyFile(source, target);
    }
    bool writeFile(const std::string& path, std::span<const std::uint8_t> bytes) override {
        return real_.writeFile(path, bytes);
    }
    std::optional<std::string> readFile(const std::string& path) override {
        return real_.readFile(path);
    }
    std::optional<std::vector<DirectoryEntry>> listDirectory(const std::string& path) override {
        return real_.listDirectory(path);
    }
    std::string expandEnvironment(const std::string& text) override {
        return real_.expandEnvironment(text);
    }
    std::optional<std::string> toAnsi(std::string_view utf8) override { return real_.toAnsi(utf8); }
    bool isAnsiLeadByte(unsigned char byte) override { return real_.isAnsiLeadByte(byte); }
    void messageBox(const std::string& text, MessageIcon icon, const std::string& title) override {
        messages.push_back({text, icon, title});
    }
    void delay(int milliseconds) override { delays.push_back(milliseconds); }
    OsVersion osVersion() override { return version; }
    void openWebAddress(const std::string& address) override { openedAddresses.push_back(address); }

    std::vector<Message> messages;
    std::vector<int> delays;
    OsVersion version{6, 1};
    std::vector<std::string> openedAddresses;

private:
    Platform& real_;
};

} // namespace quorvel::test
