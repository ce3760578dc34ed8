#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform::files {

// The largest file readWholeFile reads: far above any real measurement or
// curve file, and small enough that reading one never exhausts memory.
inline constexpr std::uintmax_t kInputFileSizeLimit = 64u * 1024u * 1024u;

// Reads the whole file as bytes. Nothing when it cannot be read: missing, not
// a regular file (a folder, a device, a FIFO; the name is looked at before it
// is opened, so an endless source is never read), no permission, or larger
// than kInputFileSizeLimit (refused before anything is read). `error` then
// gets the reason, without the path ("No such file or directory").
std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::string* error = nullptr);

// Replaces the file at `path` with `bytes` without ever leaving it half
// written: the bytes go to a private (0600) temporary file in the same folder
// (a short name of its own, so it fits wherever the target's name fits), are
// flushed to disk, the file takes its final permission bits (the old
// file's, or 0666 less the umask for a new one), and only then is it renamed
// over the target. A symbolic link is followed to the file it names and stays
// a link. Only a regular file is ever replaced: an existing target that is a
// folder, a device, a FIFO or a socket (named directly or through a link), and
// a link that leads nowhere, are refused. Returns nothing on success, else the
// error text; on failure the old file is untouched and the temporary file is
// gone.
std::optional<std::string> writeFileReplacing(const std::filesystem::path& path, std::string_view bytes);

}  // namespace platform::files
