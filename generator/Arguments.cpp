#include "generator/Arguments.h"

namespace quorvel {

std::vector<std::string> splitCommandLine(std::string_view line) {
    std::vector<std::string> arguments;
    std::size_t pos = 0;
    // The program's name: up to the first blank, or between quotes; backslashes are plain.
    if (pos < line.size() && line[pos] == '"') {
        const std::size_t close = line.find('"', pos + 1);
        pos = close == std::string_view::npos ? line.size() : close + 1;
    }
    while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t') {
        ++pos;
    }
    for (;;) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) {
            ++pos;
        }
        if (pos >= line.size()) {
            return arguments;
        }
        std::string argument;
        bool quoted = false;
        while (pos < line.size() && (quoted || (line[pos] != ' ' && line[pos] != '\t'))) {
            std::size_t backslashes = 0;
            while (pos < line.size() && line[pos] == '\\') {
                ++backslashes;
                ++pos;
            }
            if (pos < line.size() && line[pos] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument += '"';
                } else if (quoted && pos + 1 < line.size() && line[pos + 1] == '"') {
                    argument += '"'; // "" inside quotes stands for one quote
                    ++pos;
                } else {
                    quoted = !quoted;
                }
                ++pos;
            } else {
                argument.append(backslashes, '\\');
                if (pos < line.size() && (quoted || (line[pos] != ' ' && line[pos] != '\t'))) {
                    argument += line[pos];
                    ++pos;
                }
            }
        }
        arguments.push_back(std::move(argument));
    }
}

std::string quoteArgument(std::string_view argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string_view::npos) {
        return std::string(argument);
    }
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled and the quote escaped; elsewhere they stand.
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

} // namespace quorvel
