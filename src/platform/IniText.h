#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The rules of the private-profile calls on a settings file's text, as the Windows calls keep
// them: section and key names match regardless of ASCII case and surrounding blanks and tabs, the
// first of duplicate keys wins, and CR LF, LF and CR alone all end a line. Every profile store
// keeps them; no file is touched here.
namespace zembrel::ini {

// What a read of the key returns from the file's text, or from no text when the file is missing
// or unreadable. A value loses its surrounding blanks and tabs and then one pair of matching
// quotes; a missing file, section or key gives defaultValue without its trailing blanks; a key
// present with an empty value gives an empty text. At most bufferSize - 1 characters.
std::string valueOf(std::optional<std::string_view> text, std::string_view section,
                    std::string_view key, std::string_view defaultValue, std::size_t bufferSize);

// Whether the key can be written without changing other keys or the meaning of other lines:
// no line end anywhere, a key that is not empty, holds no equals sign and does not begin with a
// bracket, a section name that is not empty and holds no closing bracket.
bool isWritable(std::string_view section, std::string_view key, std::string_view value);

// The file's text with the key set to value: the key's first line in the section changes in
// place, keeping the key's spelling; a new key follows the section's last line that is not
// blank; a new section goes at the end. Added lines read "KEY=value" and end in CR LF; every
// other byte stays as it was.
std::string withValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value);

} // namespace zembrel::ini
