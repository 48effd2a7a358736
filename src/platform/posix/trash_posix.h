#pragma once

#include "platform/trash.h"

#include <string>

namespace volmara {

// The freedesktop.org trash, written to its specification:
// - a path on the file system of the home trash ($XDG_DATA_HOME/Trash, else
//   ~/.local/share/Trash) goes there; a path elsewhere goes to the trash at the top of its own
//   mount: $topdir/.Trash/$uid when $topdir/.Trash is a sticky folder that is not a link, else
//   $topdir/.Trash-$uid, made with mode 0700 when missing;
// - each item gets an info file info/<name>.trashinfo, made first and exclusively (it reserves the
//   name), with the original path percent-encoded (absolute in the home trash, relative to $topdir
//   elsewhere) and the local deletion time; then the item is renamed into files/<name>;
// - a trashed folder gets its line in the trash's `directorysizes` (size on the disk, the info
//   file's time, the encoded name), which is replaced atomically;
// - emptying removes everything in files/ and info/ and the `directorysizes` cache of a trash
//   folder the user owns; links inside are removed, never followed.
class PosixTrash final : public Trash {
public:
    // The home trash from the environment as it is now.
    PosixTrash();
    explicit PosixTrash(std::string dataHome, std::string mountinfoFile = "/proc/self/mountinfo");

    void moveToTrash(const std::string& path) override;
    std::vector<std::string> trashFolders(const std::string& path) override;
    bool emptyTrashFolder(const std::string& folder, WorkProgress& progress) override;
    std::string location() const override { return "trash:///"; }

    const std::string& homeTrash() const { return homeTrash_; }

private:
    std::string dataHome_;
    std::string homeTrash_;
    std::string mountinfo_;
};

// "/a b/ü" -> "/a%20b/%C3%BC": a path as a trash info file keeps it.
std::string trashInfoEncode(const std::string& path);

} // namespace volmara
