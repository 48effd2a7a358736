#pragma once

#include "platform/volumes.h"

namespace volmara {

// Files and folders through POSIX calls. Errors carry the descriptions the program's handlers
// look for ("Permission denied", "Disk full", "Path not found", "Path/File access error", ...).
//
// folderCounts() counts the entries directly inside a folder without following symbolic links:
// a link counts as a file whatever it points to, so counting never waits on the link's target
// (which may lie on a file system that does not answer) and never counts a folder twice.
//
// replaceFile() writes a temporary file beside the target, flushes it to the disk and renames it
// over the target, so a crash, a kill or a full disk leaves the old file whole. OwnerOnly gives
// the new file mode 0600; Normal keeps the old file's mode (a new file gets 0666 less the umask).
// A target that is a symbolic link stays one: the file it points to is replaced.
//
// typeName() asks the desktop's shared MIME database (through GIO) by name and first bytes.
class PosixFiles final : public Files {
public:
    bool fileExists(std::string_view path) override;
    bool folderExists(std::string_view path) override;
    std::optional<FolderCounts> folderCounts(std::string_view path) override;
    std::optional<std::vector<FileStamp>> filesModifiedSince(std::string_view folder, DateTime since) override;

    std::optional<std::string> readFile(std::string_view path) override;
    void appendFile(std::string_view path, std::string_view bytes) override;
    void replaceFile(std::string_view path, std::string_view bytes, Privacy privacy) override;
    void removeFile(std::string_view path) override;
    void renameFile(std::string_view from, std::string_view to) override;
    void createFolder(std::string_view path, Privacy privacy) override;

    PathFacts pathFacts(std::string_view path) override;
    std::string typeName(std::string_view path) override;
    std::uint64_t folderSize(std::string_view path) override;
    void deleteFolder(std::string_view path) override;
    void moveFile(std::string_view from, std::string_view to, WorkProgress& progress) override;
};

} // namespace volmara
