#include "platform/CommandLine.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

using Words = std::vector<std::string>;

TEST(CommandLineTest, SplitsAsTheWindowsRuntimeDoes) {
    struct Case {
        const char* line;
        Words words;
    };
    const Case cases[] = {
        {R"("C:\Program Files\p.exe" /play /close "D:\My Apps\v.avi")",
         {R"(C:\Program Files\p.exe)", "/play", "/close", R"(D:\My Apps\v.avi)"}},
        {" \tplain  a\tb ", {"plain", "a", "b"}},
        // In the program's name quotes only group; backslashes stay.
        {R"(C:\a\"b c"\d.exe x)", {R"(C:\a\b c\d.exe)", "x"}},
        {R"(p "a "quoted" word" x"y z"w)", {"p", "a quoted word", "xy zw"}},
        {R"(p \"lit\" "in \"side\"" "two "" quotes")",
         {"p", R"("lit")", R"(in "side")", R"(two " quotes)"}},
        {R"(p a\\\\"b c" a\\\"b back\slash\ end\\)",
         {"p", R"(a\\b c)", R"(a\"b)", R"(back\slash\)", R"(end\\)"}},
        {R"(p "" "unclosed arg)", {"p", "", "unclosed arg"}},
        {"p caf\xc3\xa9 $(rm) ;|&'x'", {"p", "caf\xc3\xa9", "$(rm)", ";|&'x'"}},
        {R"("" a)", {"", "a"}},
        {"  \t", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(splitCommandLine(c.line), c.words);
    }
}

} // namespace
} // namespace zembrel
