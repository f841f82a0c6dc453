#include "tools/ChineseLiterals.h"

#include <gtest/gtest.h>

namespace quorvel::catalogue {
namespace {

struct ScanCase {
    const char* name;
    std::string_view source;
    std::vector<int> lines; // of the literals found
};

const ScanCase kScanCases[] = {
    {"plain literal", "auto a = \"生成\";\n", {1}},
    {"ASCII only", "auto a = \"name\"; auto b = L'x';\n", {}},
    {"line comment", "// \"生成\"\nauto a = 1;\n", {}},
    {"block comment over lines", "/* \"生成\"\n\n */ auto a = \"完毕\";\n", {3}},
    {"wide and u8 prefixes", "f(L\"预览\");\ng(u8\"预览\");\n", {1, 2}},
    {"character literal", "auto c = L'中';\n", {1}},
    {"digit separator is no quote", "int n = 1'000; auto s = \"键\";\n", {1}},
    {"raw string over lines", "auto r = R\"x(a\n\"b\" 值)x\";\nauto s = \"节\";\n", {1, 3}},
    {"\\u escape", "auto a = \"\\u4e2d\";\n", {1}},
    {"\\x bytes are no text", "auto a = \"\\xEF\\xBB\\xBF\\xC2\\xB9\";\n", {}},
    {"escaped quote", "auto a = \"\\\" // \"; auto b = \"中\";\n", {1}},
    {"full-width punctuation", "auto a = L\"：\";\n", {1}},
    {"not shown marks its own line", "f(\"宋体\"); // catalogue: not shown\nf(\"黑体\");\n", {2}},
    {"off and on",
     "f(\"甲\");\n// catalogue: off\nf(\"乙\");\n// catalogue: on\nf(\"丙\");\n",
     {1, 5}},
};

TEST(TextCatalogue, FindsTheChineseLiteralsOfASource) {
    for (const ScanCase& c : kScanCases) {
        std::vector<int> lines;
        for (const ChineseLiteral& found : chineseLiterals(c.source)) {
            lines.push_back(found.line);
        }
        EXPECT_EQ(lines, c.lines) << c.name;
    }
}

} // namespace
} // namespace quorvel::catalogue
