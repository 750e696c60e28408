#pragma once

#include <string>
#include <string_view>

namespace zembrel {

// How the platform writes paths: the back end hands these rules to the logic, so that the
// Windows rules and the POSIX rules both run in every test.
struct PathRules {
    // The separator the program writes, and every character that separates folders.
    char separator = '/';
    std::string_view separators = "/";
    // Names do not tell letter case apart, so the chosen file's path is kept in upper case.
    bool upperCaseChosenPath = false;
    // Paths may start with a drive ("C:\"), and names may not hold : < > " | ? * or controls.
    bool driveLetters = false;
    // Where the file dialog opens before any XER file was chosen, with its separator.
    std::string defaultXerFolder = "/";
    // An installed program keeps its read-only files apart from its executables: a program
    // folder equal to developmentFolder (letter case and all) becomes distributionFolder. Both
    // end in the separator; both are empty where the files lie beside the executable.
    std::string developmentFolder;
    std::string distributionFolder;

    static PathRules windows();
    static PathRules posix(const std::string& homeFolder);

    // Ends in the separator the program writes (a folder as the program forms it).
    bool endsWithSeparator(std::string_view path) const;
    std::string withSeparator(std::string path) const;
    // Without the last separator, except for a root ("/", "C:\").
    std::string withoutSeparator(std::string path) const;
    // Everything up to and including the last separator, or nothing.
    std::string folderOf(const std::string& path) const;
    std::string nameOf(const std::string& path) const;
    // A folder name that the platform can look up at all.
    bool acceptsFolderName(std::string_view folder) const;
    // The folder of the program's read-only files, given its executable's folder.
    std::string programFolder(const std::string& executableFolder) const;
    // The chosen file's path as the program keeps it.
    std::string chosenPath(std::string path) const;
};

} // namespace zembrel
