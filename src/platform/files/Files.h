#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform::files {

// Reads the whole file as bytes. Nothing when it cannot be read (missing, a
// folder, no permission); `error` then gets the reason if given.
std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::string* error = nullptr);

// Replaces the file at `path` with `bytes` without ever leaving it half
// written: the bytes go to a temporary file in the same folder, are flushed to
// disk, take the old file's permission bits, and the temporary file is renamed
// over the target (a symbolic link is followed to the file it names). Returns
// nothing on success, else the error text; on failure the old file is
// untouched and the temporary file is gone.
std::optional<std::string> writeFileReplacing(const std::filesystem::path& path, std::string_view bytes);

}  // namespace platform::files
