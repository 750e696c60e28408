#pragma once

#include "platform/FileSystem.h"
#include "platform/PathRules.h"

#include <string>
#include <vector>

namespace zembrel {

// An entry that a walk through folders did not take, and why.
struct SkippedEntry {
    std::string path;
    std::string reason;
    // Something could not be looked at (a folder it cannot read, a name too long, a file that
    // vanished), rather than left out on purpose (a link, a purge's own copy).
    bool failure = true;
};

// The files a command works on, and what its walk left out.
struct FileList {
    std::vector<std::string> files;
    std::vector<SkippedEntry> skipped;
};

struct WalkRules {
    // A folder named stands for every *.xer file in it and in its subfolders (in any letter
    // case, in name order); otherwise every name is a file.
    bool recursive = false;
    // "X-POBS.xer" beside "X.xer" is the copy an earlier purge made: a purge leaves it out.
    bool skipPurgedCopies = false;
};

// The files that names stand for. A name given is taken as it is, through links; a walk
// follows no link, to a file or to a folder, and lists each that it meets.
FileList listFiles(const std::vector<std::string>& names, WalkRules rules, FileSystem& files,
                   const PathRules& paths);

} // namespace zembrel
