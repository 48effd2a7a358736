#pragma once

#include "core/error.h"
#include "platform/volumes.h"

#include <map>
#include <optional>
#include <set>
#include <string>

namespace volmara::test {

// Files and folders in memory. `failWritesAfter` makes the N+1-th write fail, as a full disk would.
class FakeFiles final : public Files {
public:
    bool fileExists(std::string_view path) override { return files.count(std::string(path)) > 0; }
    bool folderExists(std::string_view path) override
    {
        std::string p(path);
        if (folders.count(p))
            return true;
        if (!p.ends_with('/'))
            p += '/';
        return folders.count(p) > 0;
    }
    std::optional<FolderCounts> folderCounts(std::string_view path) override
    {
        const auto it = counts.find(std::string(path));
        if (it != counts.end())
            return it->second;
        if (folderExists(path))
            return FolderCounts{};
        return std::nullopt;
    }
    std::optional<std::string> readFile(std::string_view path) override
    {
        if (unreadable.count(std::string(path)))
            return std::nullopt;
        const auto it = files.find(std::string(path));
        if (it == files.end())
            return std::nullopt;
        return it->second;
    }
    void appendFile(std::string_view path, std::string_view bytes) override
    {
        countWrite(path);
        files[std::string(path)] += bytes;
    }
    void replaceFile(std::string_view path, std::string_view bytes, Privacy privacy) override
    {
        countWrite(path);
        files[std::string(path)] = std::string(bytes);
        ownerOnly[std::string(path)] = privacy == Privacy::OwnerOnly;
    }
    void removeFile(std::string_view path) override
    {
        if (!files.erase(std::string(path)))
            throw Error(ErrorKind::Other, "File not found");
    }

    void renameFile(std::string_view from, std::string_view to) override
    {
        const auto it = files.find(std::string(from));
        if (it == files.end())
            throw Error(ErrorKind::Other, "File not found");
        auto content = std::move(it->second);
        files.erase(it);
        unreadable.erase(std::string(from));
        files[std::string(to)] = std::move(content);
    }

    std::map<std::string, std::string> files;
    std::map<std::string, bool> ownerOnly;
    std::set<std::string> folders;
    std::set<std::string> unreadable;
    std::map<std::string, FolderCounts> counts;
    int writes = 0;
    int failWritesAfter = -1;

private:
    void countWrite(std::string_view path)
    {
        if (failWritesAfter >= 0 && writes >= failWritesAfter)
            throw Error(ErrorKind::Other, "Disk full writing " + std::string(path));
        ++writes;
    }
};

} // namespace volmara::test
