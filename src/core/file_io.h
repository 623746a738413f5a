#pragma once
// Whole-file reading and atomic replacing. Errors are EKvfError naming the path
// and the system's reason.
#include <filesystem>
#include <string>
#include <string_view>

namespace kvf {

// The whole content of a regular file; anything else (a device, a FIFO, a
// folder) is refused at once without reading.
std::string ReadWholeFile(const std::filesystem::path& path);
// Writes a temporary file beside the file, flushes it to disk and renames it over
// the file: a failure at any point leaves the old file as it was and removes the
// temporary file. A symbolic link is followed and its target replaced; the
// replacement keeps the mode (and the owner where allowed) of the file it
// replaces. A file with other hard links is rewritten in place once the
// temporary copy is complete, so that every name sees the new content.
void WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes);
// The reason of a failed system call in Russian ("нет места на диске"); an
// uncommon code gives "системная ошибка N".
std::string SystemErrorText(int code);
// The path a chain of symbolic links ends at (the path itself when it is none).
std::filesystem::path ResolveSymlinks(const std::filesystem::path& path);
// A write past the file-size limit fails with EFBIG instead of killing the
// process with SIGXFSZ. Called by every writer of user data; idempotent.
void IgnoreFileSizeSignal();

}  // namespace kvf
