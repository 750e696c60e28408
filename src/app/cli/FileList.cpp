#include "app/cli/FileList.h"

#include "platform/Text.h"

#include <algorithm>

namespace zembrel {

namespace {

constexpr std::string_view kPurged = "-POBS.XER";

bool xerName(const std::string& name) {
    return name.size() > 4 && upperCaseAscii(name.substr(name.size() - 4)) == ".XER";
}

// The name of the file that name is the purged copy of, or nothing.
std::string originalOf(const std::string& name) {
    if (name.size() <= kPurged.size() || !upperCaseAscii(name).ends_with(kPurged))
        return {};
    return name.substr(0, name.size() - kPurged.size()) + name.substr(name.size() - 4);
}

class Walk {
public:
    Walk(WalkRules rules, FileSystem& files, const PathRules& paths, FileList& list)
        : m_rules(rules), m_files(files), m_paths(paths), m_list(list) {}

    void folder(const std::string& folder) {
        auto listed = m_files.folderEntries(folder);
        if (!listed) {
            skip(folder, errorText(listed.failure()), true);
            return;
        }
        std::vector<std::string>& names = *listed;
        std::sort(names.begin(), names.end());
        for (const std::string& name : names)
            entry(m_paths.withSeparator(folder) + name, name, names);
    }

private:
    void entry(const std::string& path, const std::string& name,
               const std::vector<std::string>& siblings) {
        const EntryKind kind = m_files.entryKind(path);
        if (kind == EntryKind::Folder)
            return folder(path);
        if (kind == EntryKind::Link) {
            // A link is named when it may reach an export: it is the user's to follow.
            if (xerName(name) || m_files.folderExists(path))
                skip(path, "a symbolic link, not followed", false);
            return;
        }
        if (!xerName(name))
            return;
        if (kind == EntryKind::None)
            return skip(path, vanished(path), true);
        if (kind == EntryKind::Other)
            return skip(path, "not a regular file", true);
        const std::string original = originalOf(name);
        if (m_rules.skipPurgedCopies && !original.empty() &&
            std::any_of(siblings.begin(), siblings.end(), [&](const std::string& sibling) {
                return sameIgnoringAsciiCase(sibling, original);
            }))
            return skip(path, "the copy a purge made of " + original, false);
        m_list.files.push_back(path);
    }

    // Listed but not there: gone since, or a name the system cannot reach (too long).
    std::string vanished(const std::string& path) {
        auto opened = m_files.openRead(path);
        return opened ? "vanished" : errorText(opened.failure());
    }

    void skip(const std::string& path, std::string reason, bool failure) {
        m_list.skipped.push_back({path, std::move(reason), failure});
    }

    WalkRules m_rules;
    FileSystem& m_files;
    const PathRules& m_paths;
    FileList& m_list;
};

} // namespace

FileList listFiles(const std::vector<std::string>& names, WalkRules rules, FileSystem& files,
                   const PathRules& paths) {
    FileList list;
    Walk walk(rules, files, paths, list);
    for (const std::string& name : names) {
        if (rules.recursive && files.folderExists(name))
            walk.folder(name);
        else
            list.files.push_back(name);
    }
    return list;
}

} // namespace zembrel
