// UTF-8 inputs and the UTF-16 that platform/Utf8.h makes of them: every length of sequence at
// its limits, and the kinds of ill-formed input (stray and missing continuation bytes,
// overlong forms, surrogates, code points above U+10FFFF, bytes that never occur).
#pragma once

#include <string>
#include <vector>

namespace quorvel {

struct Utf8Case {
    const char* what;
    std::string utf8;
    std::u16string utf16;
    bool wellFormed;
};

inline const std::vector<Utf8Case> kUtf8Cases = {
    {"empty", "", u"", true},
    {"ASCII with a zero", std::string("a\0b", 3), std::u16string(u"a\0b", 3), true},
    {"two bytes, lowest and highest", "\xC2\x80\xDF\xBF", u"\u0080\u07FF", true},
    {"three bytes, lowest and highest", "\xE0\xA0\x80\xEF\xBF\xBF", u"\u0800\uFFFF", true},
    {"Chinese", "主题淺", u"\u4E3B\u9898\u6DFA", true},
    {"last before the surrogates", "\xED\x9F\xBF", u"\uD7FF", true},
    {"first after the surrogates", "\xEE\x80\x80", u"\uE000", true},
    {"four bytes, lowest and highest", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
     u"\xD800\xDC00\xDBFF\xDFFF", true},
    {"emoji", "\xF0\x9F\x98\x80", u"\xD83D\xDE00", true},
    {"stray continuation", "a\x80z", u"a\uFFFDz", false},
    {"never a lead byte", "\xC0\xC1\xF5\xFF", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},
    {"two-byte overlong", "\xC0\xAF", u"\uFFFD\uFFFD", false},
    {"three-byte overlong", "\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD", false},
    {"four-byte overlong", "\xF0\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},
    {"high surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", false},
    {"low surrogate", "\xED\xBF\xBF", u"\uFFFD\uFFFD\uFFFD", false},
    {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},
    {"five-byte form", "\xF8\x88\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD", false},
    {"cut short at the end", "a\xE4\xB8", u"a\uFFFD", false},
    {"four bytes cut short at the end", "\xF0\x9F\x98", u"\uFFFD", false},
    {"cut short by ASCII", "\xE4\xB8z", u"\uFFFDz", false},
    {"lead cut short by ASCII at the end", "\xE4z", u"\uFFFDz", false},
    {"four bytes cut short by ASCII",
     "\xF0\x9F"
     "ab",
     u"\uFFFDab", false},
    {"cut short by another lead", "\xE1\x80\xE1\x80\x80", u"\uFFFD\u1000", false},
    {"lone lead at the end", "\xC2", u"\uFFFD", false},
};

} // namespace quorvel
