#pragma once

#include "core/date_time.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

// One measurement of the volume that holds a path.
struct DriveSpace {
    bool ready = false;
    std::uint64_t freeBytes = 0;      // all free space, not the caller's quota
    std::uint64_t availableBytes = 0; // what an unprivileged user may still write
    std::uint64_t totalBytes = 0;
    std::string root;                 // drive root: "/", "/home/", "C:\"
    std::string path;                 // drive path: "/", "/home", "C:"
};

// Where a path lies, from the mount table alone: finding it never waits on the file system.
struct DriveLocation {
    std::string root;   // drive root: "/", "/home/", "C:\"
    std::string path;   // drive path: "/", "/home", "C:"
    bool remote = false;
    // The path names a mount point now (root equals the path with its separator), or one the
    // system lists to be mounted there (fstab).
    bool namesMountPoint = false;
    // The path names a mount point whose file system is not mounted now: the path must not be
    // taken for the drive below it.
    bool gone = false;
};

struct FolderCounts {
    std::uint64_t files = 0;
    std::uint64_t folders = 0;
};

// Logical drives and the drive of a path.
//
// locate() and the mount-table questions answer from memory on the UI thread. measure() is the
// blocking part: it is called on an I/O worker (any thread, several at once) and touches only the
// file system and what it is given.
class Volumes {
public:
    virtual ~Volumes() = default;

    // Drive roots of every file system a user can fill, in the order the system lists them.
    virtual std::vector<std::string> logicalDrives() = 0;

    // The drive that holds `path`. Throws Error(InvalidArgument) when the path names no drive.
    virtual DriveLocation locate(std::string_view path) = 0;

    // Measures the located drive of `path`; ready == false when the path is gone or the file
    // system does not answer. Never throws.
    virtual DriveSpace measure(const DriveLocation& drive, const std::string& path) = 0;

    // Mount point holding an absolute path, with a trailing separator; empty when none.
    virtual std::string mountPointOf(std::string_view path) = 0;
    // True when the path lies on a network file system.
    virtual bool isRemote(std::string_view path) = 0;
};

enum class PathKind { Missing, File, Folder };

// One look at a path (its target when it is a symbolic link). Times are local.
struct PathFacts {
    PathKind kind = PathKind::Missing;
    bool link = false;       // the path itself is a symbolic link
    std::uint64_t size = 0;  // bytes of a file
    std::optional<DateTime> accessed;
    std::optional<DateTime> modified;
    std::optional<DateTime> created; // when the file system keeps it
};

// A file found by a listing, with its local modification time.
struct FileStamp {
    std::string name;
    DateTime modified;
};

// Shared between long work on an I/O worker and the UI thread that shows it: the worker counts,
// the UI thread reads the counts and may ask the work to stop.
struct WorkProgress {
    std::atomic<std::uint64_t> done{0};
    std::atomic<std::uint64_t> total{0};
    std::atomic<bool> cancelled{false};
};

// Files and folders. Every call may block on the file system: the core runs them on the I/O
// workers (thread-safe, several at once), except the small reads and writes of its own files.
class Files {
public:
    virtual ~Files() = default;

    virtual bool fileExists(std::string_view path) = 0;
    virtual bool folderExists(std::string_view path) = 0;
    // Files and sub-folders directly inside a folder; nullopt when it cannot be opened.
    virtual std::optional<FolderCounts> folderCounts(std::string_view path) = 0;
    // The files (not folders) directly inside a folder, hidden ones included, modified at or after
    // `since`; nullopt when the folder cannot be opened.
    virtual std::optional<std::vector<FileStamp>> filesModifiedSince(std::string_view folder, DateTime since) = 0;

    // Whole content, nullopt when the file cannot be read.
    virtual std::optional<std::string> readFile(std::string_view path) = 0;
    // Appends, creating the file when missing. Throws Error on failure.
    virtual void appendFile(std::string_view path, std::string_view bytes) = 0;
    // Replaces the file in one step: a failure leaves the old content whole. Throws Error.
    enum class Privacy { Normal, OwnerOnly };
    virtual void replaceFile(std::string_view path, std::string_view bytes, Privacy privacy) = 0;
    // Throws Error on failure.
    virtual void removeFile(std::string_view path) = 0;
    // Gives a file another name in the same file system, replacing what had that name. Throws Error.
    virtual void renameFile(std::string_view from, std::string_view to) = 0;
    // Makes a folder inside an existing one; one that is there already is left as it is. OwnerOnly
    // makes it private to its owner. Throws Error.
    virtual void createFolder(std::string_view path, Privacy privacy) = 0;

    virtual PathFacts pathFacts(std::string_view path) = 0;
    // The desktop's name for the type of a file ("plain text document"); empty when unknown.
    virtual std::string typeName(std::string_view path) = 0;
    // Bytes of every file below a folder. Symbolic links are not followed and other file systems
    // mounted inside are not entered. Throws Error when the folder cannot be read.
    virtual std::uint64_t folderSize(std::string_view path) = 0;
    // A folder with everything in it, read-only content included. A symbolic link inside is
    // removed, never what it points to; a file system mounted inside is left alone (and then the
    // folder holding it stays). A path that is itself a link loses the link only. Throws Error.
    virtual void deleteFolder(std::string_view path) = 0;
    // Moves one file (or symbolic link) to a new name that must not exist yet, on the same or on
    // another file system. Across file systems the file is copied to a temporary name beside the
    // target, flushed and renamed into place before the source goes; a copy that fails or is
    // cancelled through `progress` leaves no partial target and the source whole. `progress`
    // counts bytes copied. Throws Error.
    virtual void moveFile(std::string_view from, std::string_view to, WorkProgress& progress) = 0;
};

} // namespace volmara
