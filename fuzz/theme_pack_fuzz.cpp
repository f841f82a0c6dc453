// Fuzzes the checks a theme pack's members pass before anything is written: the input is a
// list of members, one a line, each a size in decimal, a blank and the name. Every name that is
// accepted must be a relative path of plain parts that Windows takes as written, and a plan that
// holds must keep the count and the bytes within the limits and name one .theme at the top.
#include "model/ThemePack.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The properties of an accepted path, stated apart from the way the check finds them.
void checkAccepted(std::string_view path) {
    check(!path.empty() && path.size() <= quorvel::kMaxMemberNameBytes);
    check(path.front() != '\\' && path.find_first_of(":/*?\"<>|") == std::string_view::npos);
    for (std::string_view rest = path;;) {
        const std::size_t end = rest.find('\\');
        const std::string_view part = rest.substr(0, end);
        check(!part.empty() && part != "." && part != "..");
        check(part.back() != '.' && part.back() != ' ');
        check(std::none_of(part.begin(), part.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x20; }));
        if (end == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(end + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(bytes), size);
    std::vector<quorvel::CabinetMember> members;
    while (!input.empty() && members.size() <= quorvel::kMaxPackMembers) {
        const std::size_t end = input.find('\n');
        std::string_view line = input.substr(0, end);
        input = end == std::string_view::npos ? std::string_view{} : input.substr(end + 1);
        std::uint32_t length = 0;
        const auto [rest, error] = std::from_chars(line.data(), line.data() + line.size(), length);
        line.remove_prefix(static_cast<std::size_t>(rest - line.data()));
        if (!line.empty() && line.front() == ' ') {
            line.remove_prefix(1);
        }
        members.push_back({members.size(), std::string(line), length});

        const quorvel::MemberNameCheck checked = quorvel::checkMemberName(line);
        check(checked.path.empty() != checked.problem.empty());
        if (checked.problem.empty()) {
            checkAccepted(checked.path);
            // The path is the name with "/" as "\".
            std::string name(line);
            std::replace(name.begin(), name.end(), '/', '\\');
            check(name == checked.path);
        }
    }
    const quorvel::ExtractionPlan plan = quorvel::planPack(members, std::nullopt);
    if (plan.error.empty()) {
        check(plan.paths.size() == members.size() && members.size() <= quorvel::kMaxPackMembers);
        check(plan.bytes <= quorvel::kMaxPackBytes);
        const std::string& theme = plan.paths[plan.themeIndex];
        check(theme.find('\\') == std::string::npos && theme.size() >= 6);
    }
    return 0;
}
