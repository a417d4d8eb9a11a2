#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kav {

enum class AtomicWriteStep { Open, Write, Flush, Sync, Rename, SyncDirectory };

// Lets a test interrupt a save at a chosen point; the game never passes hooks.
struct AtomicWriteHooks {
  // Stops after this many bytes of the temporary file have reached it, before the rename, and
  // leaves the temporary file behind as a process that died there would.
  std::optional<std::size_t> crashAfterBytes;
  // Makes this step fail as if its system call had returned an error.
  std::optional<AtomicWriteStep> failStep;
};

// The temporary file a save of `path` writes before renaming it into place (when `path` is a
// symbolic link, a save uses the one of the file the link names).
std::string TemporaryPathFor(const std::string& path);

// Replaces `path` with `bytes` so that a reader sees either the old file whole or the new one
// whole: temporary file in the same directory, fflush + fsync, rename, fsync of the directory.
// A symbolic link at `path` (or a chain of them) is kept: the file it finally names is replaced,
// with the temporary file beside that one. The new file keeps the old one's permission bits (and
// owner, where we may set it); a new file gets 0666 less the umask. An existing file we may not
// write, or one that is not a regular file, is left alone and the save fails.
// Returns false on any failure; the temporary file is removed when possible (but not after a
// simulated crash). Every failure before the rename leaves the old file untouched; a failed
// directory sync after it leaves the new file in place, only not known to be durable.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, const AtomicWriteHooks* hooks = nullptr);

}  // namespace kav
