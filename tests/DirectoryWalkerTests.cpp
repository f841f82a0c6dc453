// The depth-first directory walk that finds the shell-style folders of a visual style. Sibling
// order is whatever the platform lists (sorted on NTFS and under Wine, unsorted on Linux), so the
// tests check the shape of the order, never one particular sequence.
#include "RecordingPlatform.h"
#include "Sandbox.h"

#include "generator/DirectoryWalker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

namespace quorvel::test {
namespace {

// Records what the walker asks of the platform; can make one folder unreadable.
class SpyPlatform : public RecordingPlatform {
public:
    using RecordingPlatform::RecordingPlatform;

    std::optional<std::vector<DirectoryEntry>> listDirectory(const std::string& path) override {
        listed.push_back(path);
        if (path == unreadable) {
            return std::nullopt;
        }
        return RecordingPlatform::listDirectory(path);
    }
    bool isDirectory(const std::string& path) override {
        asked.push_back(path);
        return RecordingPlatform::isDirectory(path);
    }

    std::vector<std::string> listed;
    std::vector<std::string> asked;
    std::string unreadable;
};

std::span<const std::uint8_t> bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

bool isBelow(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() + 1 && path.starts_with(folder) &&
           path[folder.size()] == '\\';
}

// True when the list is a depth-first pre-order of a tree below top: every directory comes after
// its parent, and the directories below each one follow it without a gap.
::testing::AssertionResult isDepthFirst(const std::vector<std::string>& order,
                                        const std::string& top) {
    for (std::size_t i = 0; i < order.size(); ++i) {
        const std::string parent = order[i].substr(0, order[i].rfind('\\'));
        if (parent != top &&
            std::find(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(i), parent) ==
                order.begin() + static_cast<std::ptrdiff_t>(i)) {
            return ::testing::AssertionFailure() << order[i] << " before its parent";
        }
        std::size_t end = i + 1;
        while (end < order.size() && isBelow(order[end], order[i])) {
            ++end;
        }
        for (std::size_t k = end; k < order.size(); ++k) {
            if (isBelow(order[k], order[i])) {
                return ::testing::AssertionFailure()
                       << order[k] << " is not walked right after " << order[i];
            }
        }
    }
    return ::testing::AssertionSuccess();
}

class DirectoryWalk : public testing::Test {
protected:
    void SetUp() override {
        for (const char* dir :
             {"", "\\A", "\\A\\A1", "\\A\\A2", "\\A\\A2\\deep", "\\B", "\\B\\B1", "\\C"}) {
            ASSERT_TRUE(platform.makeDirectory(top + dir)) << dir;
        }
        // Files are never reported, wherever they lie.
        for (const char* file : {"\\Shellstyle.dll", "\\A\\a.txt", "\\A\\A2\\Shellstyle.dll"}) {
            ASSERT_TRUE(platform.writeFile(top + file, bytes("x"))) << file;
        }
    }

    std::vector<std::string> walk(std::string_view folder, bool recurse = true) {
        std::vector<std::string> reported;
        DirectoryWalker walker(platform, [this](const std::string& path, WalkProblem what) {
            problems.emplace_back(path, what);
        });
        finished = walker.walk(folder, recurse, [&reported](const std::string& path) {
            reported.push_back(path);
            return true;
        });
        return reported;
    }

    std::set<std::string> paths(std::initializer_list<const char*> relative) const {
        std::set<std::string> result;
        for (const char* path : relative) {
            result.insert(top + path);
        }
        return result;
    }

    std::unique_ptr<Sandbox> sandbox = makeSandbox();
    SpyPlatform platform{sandbox->platform()};
    std::string top = sandbox->root() + "\\Shell";
    std::vector<std::pair<std::string, WalkProblem>> problems;
    bool finished = false;
};

TEST_F(DirectoryWalk, ReportsEveryDirectoryDepthFirstAndNoFiles) {
    const auto order = walk(top);
    EXPECT_TRUE(finished);
    EXPECT_EQ(std::set<std::string>(order.begin(), order.end()),
              paths({"\\A", "\\A\\A1", "\\A\\A2", "\\A\\A2\\deep", "\\B", "\\B\\B1", "\\C"}));
    EXPECT_EQ(order.size(), 7u) << "each directory once";
    EXPECT_TRUE(isDepthFirst(order, top));
    EXPECT_TRUE(problems.empty());

    // A folder given with its trailing separator gives the same paths, without doubled ones.
    const auto again = walk(top + "\\");
    EXPECT_EQ(std::set<std::string>(again.begin(), again.end()),
              std::set<std::string>(order.begin(), order.end()));
}

TEST_F(DirectoryWalk, WithoutRecursionReportsOnlyTheFirstLevel) {
    const auto order = walk(top, false);
    EXPECT_EQ(std::set<std::string>(order.begin(), order.end()), paths({"\\A", "\\B", "\\C"}));
    EXPECT_EQ(platform.listed, std::vector<std::string>{top});
}

TEST_F(DirectoryWalk, MissingOrEmptyFoldersReportNothing) {
    EXPECT_TRUE(walk(top + "\\absent").empty());
    EXPECT_TRUE(finished);
    EXPECT_TRUE(walk(top + "\\C").empty()) << "a folder without sub-directories";
    EXPECT_TRUE(problems.empty()) << "neither is a problem";

    platform.listed.clear();
    EXPECT_TRUE(walk("").empty());
    EXPECT_TRUE(platform.listed.empty()) << "an empty folder text lists nothing, not the root";
}

TEST_F(DirectoryWalk, AStopAnswerEndsTheWholeWalk) {
    DirectoryWalker walker(platform);
    for (const std::string& stopAt : {top + "\\A\\A2\\deep", top + "\\A", top + "\\B\\B1"}) {
        std::vector<std::string> reported;
        std::size_t listingsAtStop = 0;
        const bool finishedWalk = walker.walk(top, true, [&](const std::string& path) {
            reported.push_back(path);
            if (path == stopAt) {
                listingsAtStop = platform.listed.size();
                return false;
            }
            return true;
        });
        EXPECT_FALSE(finishedWalk) << stopAt;
        ASSERT_FALSE(reported.empty());
        EXPECT_EQ(reported.back(), stopAt) << "nothing is reported after the stop";
        EXPECT_EQ(std::count(reported.begin(), reported.end(), stopAt), 1);
        EXPECT_EQ(platform.listed.size(), listingsAtStop) << "nothing is listed after the stop";
        for (const std::string& path : reported) {
            EXPECT_FALSE(isBelow(path, stopAt)) << "the stopping directory is not entered";
        }
        platform.listed.clear();
    }

    // The next walk of the same walker starts afresh.
    std::size_t count = 0;
    EXPECT_TRUE(walker.walk(top, true, [&count](const std::string&) { return ++count > 0; }));
    EXPECT_EQ(count, 7u);
}

TEST_F(DirectoryWalk, AnUnreadableDirectoryIsReportedAndTheWalkGoesOn) {
    platform.unreadable = top + "\\A\\A2";
    const auto order = walk(top);
    EXPECT_TRUE(finished);
    EXPECT_EQ(std::set<std::string>(order.begin(), order.end()),
              paths({"\\A", "\\A\\A1", "\\A\\A2", "\\B", "\\B\\B1", "\\C"}));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].first, top + "\\A\\A2");
    EXPECT_EQ(problems[0].second, WalkProblem::CannotList);
}

TEST_F(DirectoryWalk, LinksAreNeitherReportedNorFollowed) {
    const std::string outside = sandbox->root() + "\\outside";
    ASSERT_TRUE(platform.makeDirectory(outside));
    ASSERT_TRUE(platform.makeDirectory(outside + "\\inner"));
    // A link back up the tree would make a walk that follows links run forever.
    if (!sandbox->makeDirectoryLink(top + "\\A\\A2\\loop", top) ||
        !sandbox->makeDirectoryLink(top + "\\B\\away", outside)) {
        GTEST_SKIP() << "this system cannot make directory links";
    }
    const auto order = walk(top);
    EXPECT_TRUE(finished);
    EXPECT_EQ(std::set<std::string>(order.begin(), order.end()),
              paths({"\\A", "\\A\\A1", "\\A\\A2", "\\A\\A2\\deep", "\\B", "\\B\\B1", "\\C"}));
    EXPECT_TRUE(problems.empty());
}

TEST(Utf16Length, CountsTheCodeUnitsOfTheWideForm) {
    EXPECT_EQ(utf16Length(""), 0u);
    EXPECT_EQ(utf16Length("C:\\a"), 4u);
    EXPECT_EQ(utf16Length("主题淺"), 3u) << "nine bytes, three characters of the basic plane";
    EXPECT_EQ(utf16Length("\xF0\x9F\x98\x80"), 2u) << "an emoji is a surrogate pair";

    EXPECT_TRUE(fitsPathLimit(std::string(259, 'a')));
    EXPECT_FALSE(fitsPathLimit(std::string(260, 'a')));
    std::string emoji;
    for (int i = 0; i < 129; ++i) {
        emoji += "\xF0\x9F\x98\x80";
    }
    EXPECT_TRUE(fitsPathLimit(emoji + "a")) << "259 units in 517 bytes";
    EXPECT_FALSE(fitsPathLimit(emoji + "ab"));
}

// Directories at the edge of the path limit. The names are Chinese so that a count of bytes
// instead of UTF-16 units would refuse paths that fit.
TEST_F(DirectoryWalk, PathsBeyondTheLimitAreNeitherListedNorReported) {
    const std::string base = top + "\\C";
    const std::size_t baseUnits = utf16Length(base);
    ASSERT_LT(baseUnits + 1 + 80 + 1 + 40, 200u) << "the sandbox path is too long for this test";
    // base\<outer>\<middle>: 200 units, in two names because Linux allows only 255 bytes for one.
    const auto chinese = [](std::size_t count) {
        std::string name;
        for (std::size_t i = 0; i < count; ++i) {
            name += "深";
        }
        return name;
    };
    const std::string outer = base + "\\" + chinese(80);
    const std::string middle =
        outer + "\\" + chinese(40) + std::string(200 - utf16Length(outer) - 1 - 40, 'm');
    ASSERT_EQ(utf16Length(middle), 200u);
    // A name that makes a child of middle exactly the given number of units long.
    const auto childOfLength = [&](std::size_t units, char letter) {
        return middle + "\\" + std::string(units - 200 - 1, letter);
    };
    const std::string fits257 = childOfLength(257, 'a'); // listed: "\*" makes 259
    const std::string inner259 = fits257 + "\\b";        // reported, pattern too long
    const std::string fits258 = childOfLength(258, 'c'); // reported, pattern too long
    const std::string fits259 = childOfLength(259, 'd'); // reported, pattern too long
    const std::string over260 = childOfLength(260, 'e'); // not reported
    const std::string beyond = fits258 + "\\never";      // inside one that is not listed
    if (!platform.makeDirectory(outer) || !platform.makeDirectory(middle)) {
        GTEST_SKIP() << "this system cannot make a folder of 200 characters";
    }
    for (const std::string* dir : {&fits257, &inner259, &fits258, &fits259, &over260, &beyond}) {
        if (!platform.makeDirectory(*dir)) {
            GTEST_SKIP() << "this system cannot make a folder of " << utf16Length(*dir)
                         << " characters";
        }
    }

    const auto order = walk(base);
    EXPECT_TRUE(finished);
    EXPECT_EQ(std::set<std::string>(order.begin(), order.end()),
              (std::set<std::string>{outer, middle, fits257, inner259, fits258, fits259}));
    const std::set<std::pair<std::string, WalkProblem>> expectedProblems{
        {inner259, WalkProblem::PathTooLong},
        {fits258, WalkProblem::PathTooLong},
        {fits259, WalkProblem::PathTooLong},
        {over260, WalkProblem::PathTooLong},
    };
    EXPECT_EQ(std::set(problems.begin(), problems.end()), expectedProblems);
    EXPECT_EQ(problems.size(), expectedProblems.size());
    for (const std::string& listed : platform.listed) {
        EXPECT_TRUE(fitsPathLimit(listed + "\\*")) << listed;
    }
    for (const std::string& asked : platform.asked) {
        EXPECT_TRUE(fitsPathLimit(asked)) << asked;
    }

    // A top folder that is itself beyond the limit is named, not looked at.
    problems.clear();
    platform.listed.clear();
    EXPECT_TRUE(walk(over260).empty());
    EXPECT_TRUE(platform.listed.empty());
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].first, over260);
}

} // namespace
} // namespace quorvel::test
