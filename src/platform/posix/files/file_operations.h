#pragma once

#include "platform/volumes.h"

#include <cstdint>
#include <string>

namespace volmara::posixfs {

// The file operations behind PosixFiles, shared with the trash. Walks never follow a symbolic
// link and never enter another mount.

PathFacts pathFacts(const std::string& path);
std::string typeName(const std::string& path);
std::uint64_t folderSize(const std::string& path);
// Bytes the folder takes on the disk, itself and everything in it, as `du -B1` counts them.
std::uint64_t diskUsage(const std::string& path);
void deleteFolder(const std::string& path);
// Removes everything inside the open folder `dirFd`, leaving the folder itself. Each item removed
// directly inside counts one in `progress`. Throws Error at the first item that cannot go.
void removeContents(int dirFd, WorkProgress* progress);
void moveFile(const std::string& from, const std::string& to, WorkProgress& progress);

// A local date and time of a file time stamp.
DateTime localDateTime(std::int64_t secondsSinceEpoch);

} // namespace volmara::posixfs
