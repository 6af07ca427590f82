// Reading and editing private-profile files line by line, on byte offsets, so that untouched bytes stay as
// they are.
#include "private_profile.h"

#include <mutex>
#include <vector>

#include "atomic_file.h"

namespace qav::platform {
namespace {

constexpr std::string_view kBlanks = " \t\r";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

struct Line {
    std::size_t begin;  // first byte of the line
    std::size_t end;    // just past its text, where its line end starts
    std::size_t next;   // first byte of the next line
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = text.starts_with(kUtf8Mark) ? kUtf8Mark.size() : 0;
    while (pos < text.size()) {
        const std::size_t lf = text.find('\n', pos);
        if (lf == std::string_view::npos) {
            lines.push_back({pos, text.size(), text.size()});
            break;
        }
        const std::size_t end = (lf > pos && text[lf - 1] == '\r') ? lf - 1 : lf;
        lines.push_back({pos, end, lf + 1});
        pos = lf + 1;
    }
    return lines;
}

// The section name when the line starts a section: the text between '[' and the first ']' (or the line end).
std::optional<std::string_view> SectionName(std::string_view body) {
    body = Trim(body);
    if (!body.starts_with('[')) {
        return std::nullopt;
    }
    body.remove_prefix(1);
    return Trim(body.substr(0, body.find(']')));
}

// The key name when the line holds a key.
std::optional<std::string_view> KeyName(std::string_view body) {
    body = Trim(body);
    const std::size_t equals = body.find('=');
    if (body.starts_with(';') || equals == std::string_view::npos || Trim(body.substr(0, equals)).empty()) {
        return std::nullopt;
    }
    return Trim(body.substr(0, equals));
}

std::string Value(std::string_view body) {
    std::string_view value = Trim(body.substr(body.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

struct Location {
    std::optional<std::size_t> header;  // line of the section's name
    std::size_t lastFilled = 0;         // last non-blank line of the section (the header when it is empty)
    std::optional<std::size_t> key;     // line of the key
};

class Profile {
public:
    explicit Profile(std::string_view text) : text_(text), lines_(SplitLines(text)) {}

    std::string_view Body(std::size_t line) const {
        return text_.substr(lines_[line].begin, lines_[line].end - lines_[line].begin);
    }
    const Line& At(std::size_t line) const { return lines_[line]; }

    Location Find(std::string_view section, std::string_view key) const {
        Location found;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const std::string_view body = Body(i);
            if (const auto name = SectionName(body)) {
                if (found.header) {
                    break;
                }
                if (SameName(*name, section)) {
                    found.header = i;
                    found.lastFilled = i;
                }
                continue;
            }
            if (!found.header) {
                continue;
            }
            if (!Trim(body).empty()) {
                found.lastFilled = i;
            }
            if (const auto name = KeyName(body); !found.key && name && SameName(*name, key)) {
                found.key = i;
            }
        }
        return found;
    }

    // The line end new lines get: the one of the first line, CRLF when there is none.
    std::string_view NewLineEnd() const {
        for (const Line& line : lines_) {
            if (line.next > line.end) {
                return text_.substr(line.end, line.next - line.end);
            }
        }
        return "\r\n";
    }

    std::string WithValue(std::string_view section, std::string_view key, std::string_view value) const {
        const Location found = Find(section, key);
        const std::string_view lineEnd = NewLineEnd();
        std::string text(text_);
        if (found.key) {
            const Line& line = At(*found.key);
            const std::string_view body = Body(*found.key);
            const std::size_t valueAt = body.find_first_not_of(" \t", body.find('=') + 1);
            const std::size_t keep = line.begin + (valueAt == std::string_view::npos ? body.size() : valueAt);
            return text.replace(keep, line.end - keep, value);
        }
        const std::string entry = std::string(key) + "=" + std::string(value) + std::string(lineEnd);
        if (found.header) {
            const Line& line = At(found.lastFilled);
            const std::string unterminated = line.next == line.end ? std::string(lineEnd) : std::string();
            return text.insert(line.next, unterminated + entry);
        }
        const bool unterminated = !lines_.empty() && lines_.back().next == lines_.back().end;
        if (unterminated) {
            text += lineEnd;
        }
        return text + "[" + std::string(section) + "]" + std::string(lineEnd) + entry;
    }

private:
    std::string_view text_;
    std::vector<Line> lines_;
};

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

bool ReadsBackAsItself(std::string_view name) {
    return !name.empty() && !HasLineBreak(name) && Trim(name) == name;
}

bool Writable(std::string_view section, std::string_view key, std::string_view value) {
    return ReadsBackAsItself(section) && section.find(']') == std::string_view::npos &&
           ReadsBackAsItself(key) && key.find('=') == std::string_view::npos && !key.starts_with('[') &&
           !key.starts_with(';') && !HasLineBreak(value);
}

std::mutex& WriteMutex() {
    static std::mutex mutex;
    return mutex;
}

}  // namespace

std::optional<std::string> ReadProfileString(const std::filesystem::path& file, std::string_view section,
                                             std::string_view key) {
    const FileText fileText = ReadWholeFile(file);
    if (fileText.status != ReadStatus::Ok) {
        return std::nullopt;
    }
    const Profile profile(fileText.content);
    const Location found = profile.Find(section, key);
    if (!found.key) {
        return std::nullopt;
    }
    return Value(profile.Body(*found.key));
}

bool WriteProfileString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                        std::string_view value) {
    if (!Writable(section, key, value)) {
        return false;
    }
    const std::lock_guard lock(WriteMutex());
    const FileText current = ReadWholeFile(file);
    if (current.status == ReadStatus::Failed) {
        return false;
    }
    return WriteFileAtomically(file, Profile(current.content).WithValue(section, key, value));
}

}  // namespace qav::platform
