#pragma once

#include "core/error.h"
#include "platform/trash.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace volmara::test {

// A trash in memory. Given the program's fake files, a trashed path leaves them as it would leave
// the disk. `folders` are the trash folders of each drive root (asked for with that root),
// `held` the number of items each holds; `refused` makes moving a path fail with the reason.
class FakeTrash final : public Trash {
public:
    FakeTrash() = default;
    explicit FakeTrash(Files& files) : files_(&files) {}

    void moveToTrash(const std::string& path) override
    {
        if (const auto it = refused.find(path); it != refused.end())
            throw Error(ErrorKind::Other, it->second);
        if (files_) {
            if (files_->fileExists(path))
                files_->removeFile(path);
            else if (files_->folderExists(path))
                files_->deleteFolder(path);
            else
                throw Error(ErrorKind::Other, "File not found");
        }
        trashed.push_back(path);
    }
    std::vector<std::string> trashFolders(const std::string& path) override
    {
        asked.push_back(path);
        std::vector<std::string> out;
        for (const auto& [root, list] : folders) {
            if (path.empty() || path == root)
                out.insert(out.end(), list.begin(), list.end());
        }
        return out;
    }
    bool emptyTrashFolder(const std::string& folder, WorkProgress& progress) override
    {
        if (const auto it = refused.find(folder); it != refused.end())
            throw Error(ErrorKind::Other, it->second);
        if (notOwned.count(folder))
            return false;
        progress.total = held[folder];
        progress.done = held[folder];
        held[folder] = 0;
        emptied.push_back(folder);
        return true;
    }
    std::string location() const override { return "trash:///"; }

    std::map<std::string, std::vector<std::string>> folders;
    std::map<std::string, std::uint64_t> held;
    std::set<std::string> notOwned;
    std::map<std::string, std::string> refused;
    std::vector<std::string> trashed;
    std::vector<std::string> emptied;
    std::vector<std::string> asked;

private:
    Files* files_ = nullptr;
};

} // namespace volmara::test
