// Whole-file reads, and writes that replace a file in one step so that a failure never loses it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qav::platform {

enum class ReadStatus { Ok, Missing, Failed };

struct FileText {
    ReadStatus status = ReadStatus::Failed;
    std::string content;  // the file's bytes when status is Ok, otherwise empty
};

// Reads the whole file. Missing when the file (or a folder on its path) does not exist; Failed for any other
// error, such as no permission or a folder in the file's place.
FileText ReadWholeFile(const std::filesystem::path& file);

// Replaces the file's content: writes a temporary file in the same folder, flushes it to the disk and renames
// it over the file. On any failure the temporary file is removed and the old file is left as it was. An
// existing file keeps its permission bits; a symbolic link is written through, not replaced. True on success.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view content);

}  // namespace qav::platform
