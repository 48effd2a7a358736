#pragma once

#include "core/error.h"
#include "platform/volumes.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace volmara::test {

// Files and folders in memory. `failWritesAfter` makes the N+1-th write fail, as a full disk would.
// A file's size is its content's unless `sizes` says otherwise; a folder's counts are zero unless
// `counts` says otherwise; `errors` makes the calls that change a path (remove, delete, move) fail
// with the given description.
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
    // The files directly in the folder, each with its entry in `modified` or else `stamp`.
    std::optional<std::vector<FileStamp>> filesModifiedSince(std::string_view folder, DateTime since) override
    {
        if (!folderExists(folder) || unreadable.count(std::string(folder)))
            return std::nullopt;
        std::vector<FileStamp> found;
        const auto prefix = withSlash(folder);
        for (const auto& [name, content] : files) {
            if (!name.starts_with(prefix) || name.find('/', prefix.size()) != std::string::npos)
                continue;
            const auto time = modified.count(name) ? modified.at(name) : stamp;
            if (time >= since)
                found.push_back(FileStamp{name.substr(prefix.size()), time});
        }
        return found;
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
        failIfAsked(path);
        if (!files.erase(std::string(path)))
            throw Error(ErrorKind::Other, "File not found");
        sizes.erase(std::string(path));
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

    void createFolder(std::string_view path, Privacy) override
    {
        failIfAsked(path);
        folders.insert(std::string(path));
    }

    PathFacts pathFacts(std::string_view path) override
    {
        PathFacts facts;
        const std::string p(path);
        if (fileExists(p)) {
            facts.kind = PathKind::File;
            facts.size = sizeOf(p);
            facts.created = stamp;
        } else if (folderExists(p)) {
            facts.kind = PathKind::Folder;
        } else {
            return facts;
        }
        facts.accessed = stamp;
        facts.modified = stamp;
        return facts;
    }
    std::string typeName(std::string_view path) override
    {
        const auto it = typeNames.find(std::string(path));
        return it == typeNames.end() ? std::string() : it->second;
    }
    std::uint64_t folderSize(std::string_view path) override
    {
        if (!folderExists(path))
            throw Error(ErrorKind::Other, "Path not found");
        std::uint64_t total = 0;
        const auto prefix = withSlash(path);
        for (const auto& [name, content] : files)
            total += name.starts_with(prefix) ? sizeOf(name) : 0;
        return total;
    }
    void deleteFolder(std::string_view path) override
    {
        failIfAsked(path);
        const auto prefix = withSlash(path);
        std::erase_if(files, [&](const auto& f) { return f.first.starts_with(prefix); });
        std::erase_if(folders, [&](const std::string& f) { return f == path || f.starts_with(prefix); });
        deletedFolders.emplace_back(path);
    }
    void moveFile(std::string_view from, std::string_view to, WorkProgress& progress) override
    {
        failIfAsked(from);
        const std::string source(from), target(to);
        if (!fileExists(source))
            throw Error(ErrorKind::Other, "File not found");
        if (fileExists(target) || folderExists(target))
            throw Error(ErrorKind::Other, "Path/File access error");
        progress.total = sizeOf(source);
        progress.done = sizeOf(source);
        files[target] = std::move(files[source]);
        files.erase(source);
        if (const auto size = sizes.find(source); size != sizes.end()) {
            sizes[target] = size->second;
            sizes.erase(size);
        }
        moves.emplace_back(source, target);
    }

    std::map<std::string, std::string> files;
    std::map<std::string, bool> ownerOnly;
    std::set<std::string> folders;
    std::set<std::string> unreadable;
    std::map<std::string, FolderCounts> counts;
    std::map<std::string, std::uint64_t> sizes;
    std::map<std::string, std::string> typeNames;
    std::map<std::string, std::string> errors;
    DateTime stamp{2024, 3, 5, 14, 30, 0};
    std::map<std::string, DateTime> modified;
    std::vector<std::pair<std::string, std::string>> moves;
    std::vector<std::string> deletedFolders;
    int writes = 0;
    int failWritesAfter = -1;

private:
    static std::string withSlash(std::string_view path)
    {
        std::string p(path);
        if (!p.ends_with('/'))
            p += '/';
        return p;
    }
    std::uint64_t sizeOf(const std::string& path) const
    {
        const auto it = sizes.find(path);
        if (it != sizes.end())
            return it->second;
        const auto file = files.find(path);
        return file == files.end() ? 0 : file->second.size();
    }
    void failIfAsked(std::string_view path)
    {
        const auto it = errors.find(std::string(path));
        if (it != errors.end())
            throw Error(ErrorKind::Other, it->second);
    }
    void countWrite(std::string_view path)
    {
        if (failWritesAfter >= 0 && writes >= failWritesAfter)
            throw Error(ErrorKind::Other, "Disk full writing " + std::string(path));
        ++writes;
    }
};

} // namespace volmara::test
