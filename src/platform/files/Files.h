#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
// flushed to disk, the file takes the old file's owner and group where this
// process may give them (root may), its ACL (or none, whatever default ACL
// the folder has, for a file without one) and `user.*` extended attributes,
// and its final permission bits (the old file's, or 0666 less the umask for a
// new one), and only then is it renamed over the target. A symbolic link is
// followed to the file it names and stays a link. Only a regular file is ever
// replaced, and only where the rename will succeed: see replacementRefusal.
// Returns nothing on success, else the error text; on failure the old file is
// untouched and the temporary file is gone. While a ReplacementBatch is open,
// the complete temporary file waits for the batch's commit() instead of being
// renamed.
//
// A temporary file is removed when a signal whose default action ends the
// process (SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGUSR1, SIGALRM and
// the others) ends it while that signal is left at its default action; the
// process then ends as the signal would have ended it. A signal that is
// ignored or handled elsewhere is left alone, and SIGKILL may still leave one.
std::optional<std::string> writeFileReplacing(const std::filesystem::path& path, std::string_view bytes);

// Why writeFileReplacing would refuse `path` before writing anything, in its
// words: an existing target (named directly or through a link) that is a
// folder, a device, a FIFO or a socket, a link that leads nowhere, a file
// this process has no permission to write (root has it, unless the file
// system is read-only), a name too long (nameLengthRefusal), a name the
// system will not look up for a reason other than that nothing has it (a
// folder on the way this process may not search, a loop of links, a name its
// file system cannot hold: in the system's words), or one that rename would
// refuse: a mount point, an append-only or immutable file, another user's
// file in a sticky folder (/tmp) unless this process may act as its owner;
// and a folder that does not exist, is not one, or takes no new file from
// this process (no permission, read-only, append-only or immutable). Nothing
// for a target that may be replaced or made.
std::optional<std::string> replacementRefusal(const std::filesystem::path& path);

// Why no file can be made under `path` for the length of its name alone, in
// the words a message gives after the path: a part of the path that does not
// exist yet longer than the file system it would be made on takes (pathconf's
// _PC_NAME_MAX of the nearest folder of the path that exists, 255 where that
// says nothing), as "its name is 256 bytes long; a file name on this file
// system may be at most 255 bytes"; or a path of PATH_MAX bytes or more, its
// end counted, as the system is handed it, or as the temporary file written
// beside the file first would have it. Nothing for a name that fits;
// writeFileReplacing refuses the others before it writes.
std::optional<std::string> nameLengthRefusal(const std::filesystem::path& path);

// Outputs that replace their files together or not at all. While one is open
// (one at a time), writeFileReplacing leaves each file complete in its
// temporary file; commit() renames them over their targets in the order they
// were written. A batch closed without commit() removes the temporary files
// left, and every old file stays as it was.
class ReplacementBatch {
 public:
  ReplacementBatch();
  ~ReplacementBatch();
  ReplacementBatch(const ReplacementBatch&) = delete;
  ReplacementBatch& operator=(const ReplacementBatch&) = delete;

  // Renames the files written so far into place, with the ending signals held
  // back until all are renamed. Nothing on success; else the error of the
  // first rename that failed: the files before it are replaced already (a
  // rename cannot be undone), that one and the later ones are not and their
  // temporary files are removed.
  std::optional<std::string> commit();
  // How many files commit() has renamed into place.
  size_t replaced() const { return replaced_; }

 private:
  friend std::optional<std::string> writeFileReplacing(const std::filesystem::path&, std::string_view);
  struct Written {
    int temporary;  // the temporary file's entry in the table the signal handler reads
    std::filesystem::path target, requested;
  };
  void removeTemporaries();

  std::vector<Written> written_;
  size_t replaced_ = 0;
};

}  // namespace platform::files
