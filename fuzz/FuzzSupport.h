#pragma once

// What the fuzz targets share: quiet platform services over the in-memory file system, a plain
// model of the lines of a file (written from the layout's rules, not from the reader), and the
// check that ends a run with a message when an invariant breaks.

#include "fakes/FakeFileSystem.h"
#include "fakes/FakeObserver.h"
#include "platform/Platform.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zembrel::fuzz {

// Ends the run: libFuzzer keeps the input that broke the invariant, the replay names it.
[[noreturn]] void broken(const char* what);
inline void require(bool holds, const char* what) {
    if (!holds)
        broken(what);
}

inline constexpr char kSub = '\x1a';

// A line of a file: its text and the bytes of its line end.
struct Line {
    std::string_view text;
    std::size_t endSize = 0;
};

// The lines of a file: CR ends a line and an LF right after it belongs to the line end; a file
// whose first line end is a bare LF has LF line ends as well. No line end after the last line
// is needed.
std::vector<Line> linesOf(std::string_view file);

// The tag of a line: its first two characters as they stand.
inline std::string_view tagOf(std::string_view line) {
    return line.substr(0, 2);
}

// The line opens table name: without the spaces at its ends, "%T" TAB name.
bool opensTable(std::string_view line, std::string_view name);

// XER text, the only kind of file that is ever changed: "ERMHDR" at its start (after a UTF-8
// byte-order mark) and no NUL byte in its first line.
bool isXerText(std::string_view file);

// A read-block size that differs from input to input and is small, so that lines, line ends
// and SUB bytes fall across blocks.
std::size_t smallBlockFor(std::string_view data);

// Message boxes that keep their texts and answer Yes.
class Boxes final : public MessageBoxes {
public:
    std::vector<std::string> texts;
    MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon,
                       const std::string&) override {
        texts.push_back(text);
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
    }
};

// Everything an operation needs, with one file in one folder.
struct Services {
    static constexpr const char* kPath = "/jobs/PLAN.XER";
    static constexpr const char* kNewPath = "/jobs/PLAN-POBS.XER";

    Services(std::string_view file, std::size_t blockSize);

    test::FakeFileSystem files;
    Boxes boxes;
    struct : EventPump {
        void processEvents() override {}
    } events;
    struct : BusyPointer {
        void setBusy(bool) override {}
    } pointer;
    test::NoticeLog notices; // answers Yes
    Platform platform;
};

} // namespace zembrel::fuzz
