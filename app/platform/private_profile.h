// Private-profile (INI) files: one key of one section read, or written while every other byte of the file
// stays.
//
// The file is a sequence of lines ending in LF or CRLF (both are read alike). "[name]" starts a section; in a
// section, "key=value" gives a key. Section and key names are trimmed of blanks and compare without regard to
// the case of ASCII letters; other characters compare exactly. A line whose first non-blank character is ';'
// is a comment. Only the first section of a name and its first key of a name count. Text is taken as bytes
// (UTF-8 in practice); a UTF-8 byte-order mark at the start of the file is skipped and kept. UTF-16 files are
// not read.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qav::platform {

// The value of `key` in `section`: the text after the first '=' of the key's line, trimmed of blanks and of
// one pair of enclosing quotes (" or '). Nothing when the file cannot be read or the section or key is
// missing.
std::optional<std::string> ReadProfileString(const std::filesystem::path& file, std::string_view section,
                                             std::string_view key);

// Sets `key` of `section` to `value`. An existing key line keeps everything up to its '=' and the blanks
// after it, and its line end; a new key goes after the last non-blank line of its section; a new section goes
// at the end of the file; a missing file is created. New lines take the line end of the file's first line
// (CRLF for a new file or a file without any). The file is replaced in one step (see WriteFileAtomically),
// and writes of the process are serialised, so concurrent writers of different keys do not undo each other.
// False, with the file unchanged, when the file exists but cannot be read, the write fails, or a name or the
// value could not be read back as written: an empty name, a line break in any of the three, ']' in the
// section name, '=' in the key, a key starting with '[' or ';', or a name with leading or trailing blanks.
bool WriteProfileString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace qav::platform
