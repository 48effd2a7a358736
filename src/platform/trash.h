#pragma once

#include "platform/volumes.h"

#include <string>
#include <vector>

namespace volmara {

// The desktop's trash: moving one path into it, emptying it, showing it.
//
// moveToTrash() and emptyTrashFolder() block on the file system (a large folder takes long):
// the core runs them on the I/O workers. trashFolders() answers from the mount table alone.
class Trash {
public:
    virtual ~Trash() = default;

    // Moves one file or folder into the trash of its own file system, where it can be restored
    // from. Throws Error with the reason when it cannot be trashed.
    virtual void moveToTrash(const std::string& path) = 0;

    // The trash folders the user may own: every one on a mounted file system when `path` is empty,
    // else those of the file system holding `path`. Nothing is touched to find them.
    virtual std::vector<std::string> trashFolders(const std::string& path) = 0;
    // Removes everything a trash folder holds, if it is one the user owns (false otherwise).
    // `progress` counts the items removed. Throws Error when an item cannot be removed.
    virtual bool emptyTrashFolder(const std::string& folder, WorkProgress& progress) = 0;

    // Where the desktop's file manager shows the trash.
    virtual std::string location() const = 0;
};

} // namespace volmara
