// The rules on text that every back end shares: INI files, paths, command lines.
#include "platform/CommandLine.h"
#include "platform/IniText.h"
#include "platform/PathRules.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

using namespace std::string_literals;
using Words = std::vector<std::string>;

const std::string kNames = "[ open ]\r\n  Top\t =12\r\n";
const std::string kValues =
    "[S]\r\nA= \t\"x y\" \t\r\nB='q'\r\nC=\"a'\r\nD=\"\"x\"\"\r\nE=\" \"\r\n"
    "F=a = b\r\nG=\"\r\nK=\r\nQ=\"\"\r\nBL=  \t\r\n";
const std::string kSections = "K=outside\r\n[S]\r\nK=first\r\nk=second\r\nN=0123456789\r\n[T]\r\n"
                              "[S]\r\nK=third\r\nL=4\r\n";
const std::string kOdd =
    "\x01\xff\x00\x7f\x7f garbage = [x\r[CONFIGURE]\rVIDEO_PLAYER=/usr/bin/mpv\r"
    "\x00\x1a\nXER_LOCATION=/old/\rTAIL=\xe9\r"s;

struct ReadRow {
    const char* name;
    std::optional<std::string> text; // nothing: no file
    std::string section, key, expected, defaultValue = "dflt";
    std::size_t bufferSize = 1000;
};

const ReadRow kReadRows[] = {
    {"NamesMatchRegardlessOfCase", kNames, "OPEN", "TOP", "12"},
    {"NamesMatchRegardlessOfBlanks", kNames, " Open\t", " tOP ", "12"},
    {"LongerSectionNameDiffers", kNames, "OPENX", "TOP", "dflt"},
    {"ShorterKeyNameDiffers", kNames, "OPEN", "TO", "dflt"},
    {"ValueLosesBlanksThenQuotes", kValues, "S", "A", "x y"},
    {"SingleQuotesGo", kValues, "S", "B", "q"},
    {"UnmatchedQuotesStay", kValues, "S", "C", "\"a'"},
    {"OnlyOnePairOfQuotesGoes", kValues, "S", "D", "\"x\""},
    {"BlanksInsideQuotesStay", kValues, "S", "E", " "},
    {"LaterEqualsSignsBelongToTheValue", kValues, "S", "F", "a = b"},
    {"LoneQuoteStays", kValues, "S", "G", "\""},
    {"EmptyValueIsNotTheDefault", kValues, "S", "K", ""},
    {"EmptyQuotesAreNotTheDefault", kValues, "S", "Q", ""},
    {"BlankValueIsNotTheDefault", kValues, "S", "BL", ""},
    {"MissingFileGivesDefaultWithoutTrailingBlanks", {}, "S", "K", " C:\\", " C:\\  "},
    {"MissingSectionGivesDefault", kSections, "U", "K", "TRUE", "TRUE "},
    {"KeyOutsideTheSectionIsMissing", kSections, "T", "K", "dflt"},
    {"FirstOfDuplicateKeysWins", kSections, "S", "K", "first"},
    {"OnlyTheFirstOfDuplicateSectionsCounts", kSections, "S", "L", "dflt"},
    {"BufferSizeLessOneCharacters", kSections, "S", "N", "0123", "", 5},
    {"BufferOfOneHoldsNothing", kSections, "S", "N", "", "", 1},
    {"BufferOfNoneHoldsNothing", kSections, "S", "N", "", "", 0},
    {"DefaultIsCutToo", kSections, "S", "none", "abc", "abcdef", 4},
    {"LongValueIsCut", "[S]\r\nK=" + std::string(1500, 'x'), "S", "K", std::string(999, 'x')},
    // A line end that is not taken for one would hide B in A's value.
    {"LfEndsALine", "[S]\nA=1\nB=2", "S", "B", "2"},
    {"CrEndsALine", "[S]\rA=1\rB=2\r", "S", "B", "2"},
    {"MixedLineEnds", "[S]\r\nA=1\rB=2\n\n", "S", "B", "2"},
    {"OddBytesAroundTheKey", kOdd, "CONFIGURE", "VIDEO_PLAYER", "/usr/bin/mpv"},
    {"CodePageLetterValue", kOdd, "CONFIGURE", "TAIL", "\xe9"},
};

TEST(IniText, ReadsWhatTheWindowsCallsRead) {
    for (const ReadRow& r : kReadRows) {
        SCOPED_TRACE(r.name);
        const auto text = r.text ? std::optional<std::string_view>(*r.text) : std::nullopt;
        EXPECT_EQ(ini::valueOf(text, r.section, r.key, r.defaultValue, r.bufferSize), r.expected);
    }
}

struct WriteRow {
    const char* name;
    std::string text, section, key, value;
    std::optional<std::string> expected; // nothing: the write is refused
};

const WriteRow kWriteRows[] = {
    {"KeyChangesInItsOwnSpelling", "[o]\n Top = 1 \nL\n", "O", "TOP", " 3", "[o]\n Top= 3\nL\n"},
    {"FirstDuplicateChanges", "[S]\nK=1\nk=2\n[S]\nK=3", "S", "K", "0", "[S]\nK=0\nk=2\n[S]\nK=3"},
    {"NewKeyGoesBeforeBlankLines", "[A]\nX=1\n\n[B]\n", "A", "Z", "3", "[A]\nX=1\nZ=3\r\n\n[B]\n"},
    {"NewKeyEndsAnUnendedLastLine", "[A]\nX=1", "A", "Y", "2", "[A]\nX=1\r\nY=2\r\n"},
    {"NewKeyFollowsAnEmptySection", "[A]\n[B]\n", "A", "K", "v", "[A]\nK=v\r\n[B]\n"},
    {"NewSectionGoesAtTheEnd", "X=no\rY=2", "O", "T", " 1", "X=no\rY=2\r\n[O]\r\nT= 1\r\n"},
    {"EmptyTextGetsSectionAndKey", "", "OPEN", "TOP", " 1", "[OPEN]\r\nTOP= 1\r\n"},
    {"SecondKeyFollowsTheFirst", "[O]\r\nT=1\r\n", "O", "LEFT", "-2", "[O]\r\nT=1\r\nLEFT=-2\r\n"},
    {"OddBytesStay", kOdd, "CONFIGURE", "XER_LOCATION", "/new/",
     std::string(kOdd).replace(kOdd.find("/old/"), 5, "/new/")},
    {"LfInValueIsRefused", "", "CONFIGURE", "XER_LOCATION", "/a\n[OPEN]\nTOP=1/", {}},
    {"CrInValueIsRefused", "", "CONFIGURE", "XER_LOCATION", "/a\rb/", {}},
    {"LfInKeyIsRefused", "", "S", "K\nX", "1", {}},
    {"LineEndInSectionIsRefused", "", "S\r\nT", "K", "1", {}},
    {"EqualsSignInKeyIsRefused", "", "S", "A=B", "1", {}},
    {"BlankKeyIsRefused", "", "S", " ", "1", {}},
    {"KeyLikeASectionIsRefused", "", "S", " [K", "1", {}},
    {"BracketInSectionIsRefused", "", "OPEN]", "K", "1", {}},
    {"BlankSectionIsRefused", "", "\t", "K", "1", {}},
};

TEST(IniText, WritingChangesOnlyWhatTheKeyNeeds) {
    for (const WriteRow& r : kWriteRows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(ini::isWritable(r.section, r.key, r.value), r.expected.has_value());
        if (r.expected) {
            EXPECT_EQ(ini::withValue(r.text, r.section, r.key, r.value), *r.expected);
        }
    }
}

// Both rule sets run here, whatever platform the tests run on.
TEST(PathRules, WindowsAndPosixPaths) {
    const PathRules rules = PathRules::windows();
    EXPECT_EQ(rules.withSeparator("D:\\Team"), "D:\\Team\\");
    EXPECT_EQ(rules.withSeparator("D:\\Team\\"), "D:\\Team\\");
    EXPECT_EQ(rules.withoutSeparator("D:\\Team\\"), "D:\\Team");
    EXPECT_EQ(rules.withoutSeparator("C:\\"), "C:\\"); // a drive's root stays a root
    EXPECT_EQ(rules.withoutSeparator("\\"), "\\");
    EXPECT_EQ(rules.folderOf("C:\\JOBS\\PLAN.XER"), "C:\\JOBS\\");
    EXPECT_EQ(rules.folderOf("C:/jobs/plan.xer"), "C:/jobs/"); // Windows takes / too
    EXPECT_EQ(rules.nameOf("C:\\JOBS\\Plan.xer"), "Plan.xer");
    EXPECT_EQ(rules.chosenPath("c:\\Jobs\\Plan\xe9.xer"), "C:\\JOBS\\PLAN\xe9.XER");
    EXPECT_EQ(rules.defaultXerFolder, "C:\\");
    for (const char* bad :
         {"D:\\a|b", "D:\\a?", "D:\\a*", "D:\\<a>", "D:\\a\"", "D:\\a:b", "D:\\a\tb"})
        EXPECT_FALSE(rules.acceptsFolderName(bad)) << bad;
    EXPECT_TRUE(rules.acceptsFolderName("D:\\Team settings\\"));
    const PathRules posix = PathRules::posix("/home/ann");
    EXPECT_EQ(posix.defaultXerFolder, "/home/ann/");
    EXPECT_EQ(PathRules::posix("").defaultXerFolder, "/");
    EXPECT_EQ(posix.withoutSeparator("/"), "/");
    EXPECT_EQ(posix.withoutSeparator("/srv/x/"), "/srv/x");
    EXPECT_EQ(posix.folderOf("/jobs/a\\b.xer"), "/jobs/"); // a backslash is a name character
    EXPECT_EQ(posix.folderOf("plan.xer"), "");
    EXPECT_EQ(posix.chosenPath("/Jobs/Plan.xer"), "/Jobs/Plan.xer"); // letter case names files
    EXPECT_TRUE(posix.acceptsFolderName("/srv/a|b?*:<>"));
    EXPECT_FALSE(posix.acceptsFolderName(std::string("/a\0b", 4)));
}

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
