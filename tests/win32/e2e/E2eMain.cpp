// The end-to-end test program: quorvel_e2e --program=PATH [--screenshots=DIR] [--work=DIR]
// plus the usual GoogleTest options. It runs under Wine beside the program it drives.
#include "AppDriver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    quorvel::e2e::becomeDpiAware();
    auto& settings = quorvel::e2e::settings();
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const auto value = [&](const char* prefix) {
            return quorvel::e2e::widen(argument.substr(std::string(prefix).size()));
        };
        if (argument.starts_with("--program=")) {
            settings.program = value("--program=");
        } else if (argument.starts_with("--screenshots=")) {
            settings.screenshotDir = value("--screenshots=");
        } else if (argument.starts_with("--work=")) {
            settings.workDir = value("--work=");
        } else {
            std::fprintf(stderr, "unknown argument %s\n", argv[i]);
            return 2;
        }
    }
    if (settings.program.empty()) {
        std::fprintf(stderr, "usage: quorvel_e2e --program=quorvel.exe [--screenshots=DIR] "
                             "[--work=DIR]\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
