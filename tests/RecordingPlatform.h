// A platform layer for tests: files go to the real layer of the build, message boxes, delays and
// opened web addresses are recorded instead of shown, slept or opened, and the system version is
// whatever the test sets.
#pragma once

#include "platform/ForwardingPlatform.h"

#include <string>
#include <vector>

namespace quorvel::test {

class RecordingPlatform : public ForwardingPlatform {
public:
    struct Message {
        std::string text;
        MessageIcon icon;
        std::string title;
    };

    explicit RecordingPlatform(Platform& real) : ForwardingPlatform(real) {}

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
};

} // namespace quorvel::test
