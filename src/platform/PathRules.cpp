#include "platform/PathRules.h"

#include "platform/Text.h"

namespace zembrel {

PathRules PathRules::windows() {
    return {'\\', "\\/", true, true, "C:\\", {}, {}};
}

PathRules PathRules::posix(const std::string& homeFolder) {
    PathRules rules;
    if (!homeFolder.empty())
        rules.defaultXerFolder = rules.withSeparator(homeFolder);
    return rules;
}

bool PathRules::endsWithSeparator(std::string_view path) const {
    return !path.empty() && path.back() == separator;
}

std::string PathRules::withSeparator(std::string path) const {
    if (!endsWithSeparator(path))
        path += separator;
    return path;
}

std::string PathRules::withoutSeparator(std::string path) const {
    const bool driveRoot = driveLetters && path.size() == 3 && path[1] == ':';
    if (path.size() > 1 && endsWithSeparator(path) && !driveRoot)
        path.pop_back();
    return path;
}

std::string PathRules::folderOf(const std::string& path) const {
    const auto last = path.find_last_of(separators);
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string PathRules::nameOf(const std::string& path) const {
    const auto last = path.find_last_of(separators);
    return last == std::string::npos ? path : path.substr(last + 1);
}

bool PathRules::acceptsFolderName(std::string_view folder) const {
    if (folder.find('\0') != std::string_view::npos)
        return false;
    if (!driveLetters)
        return true;
    for (std::size_t i = 0; i < folder.size(); ++i) {
        const auto c = static_cast<unsigned char>(folder[i]);
        if (c < 32 ||
            std::string_view("<>\"|?*").find(static_cast<char>(c)) != std::string_view::npos ||
            (c == ':' && i != 1))
            return false;
    }
    return true;
}

std::string PathRules::programFolder(const std::string& executableFolder) const {
    std::string folder = withSeparator(executableFolder);
    if (!developmentFolder.empty() && folder == developmentFolder)
        folder = distributionFolder;
    return folder;
}

std::string PathRules::chosenPath(std::string path) const {
    return upperCaseChosenPath ? upperCaseAscii(std::move(path)) : path;
}

} // namespace zembrel
