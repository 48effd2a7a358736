#pragma once

#include "core/error.h"
#include "platform/volumes.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace volmara::test {

// In-memory mounts: each a root ("/", "/data/") with free and total bytes and a ready state.
class FakeVolumes : public Volumes {
public:
    struct Mount {
        std::string root;
        std::uint64_t freeBytes = 0;
        std::uint64_t totalBytes = 0;
        bool ready = true;
        bool remote = false;
    };

    Mount& add(std::string root, std::uint64_t freeKb, std::uint64_t totalKb)
    {
        mounts.push_back(Mount{std::move(root), freeKb * 1024, totalKb * 1024});
        return mounts.back();
    }
    Mount& mount(const std::string& root)
    {
        for (auto& m : mounts)
            if (m.root == root)
                return m;
        throw Error(ErrorKind::Other, "no such fake mount " + root);
    }

    std::vector<std::string> logicalDrives() override
    {
        std::vector<std::string> roots;
        for (const auto& m : mounts)
            roots.push_back(m.root);
        return roots;
    }

    DriveLocation locate(std::string_view path) override
    {
        if (!path.starts_with('/'))
            throw Error(ErrorKind::InvalidArgument, "Invalid procedure call or argument");
        std::string own(path);
        if (!own.ends_with('/'))
            own += '/';
        const auto* m = holder(path);
        if (!m)
            throw Error(ErrorKind::InvalidArgument, "Invalid procedure call or argument");
        DriveLocation where;
        if (m->root != own && fstab.count(own)) {
            where.root = own;
            where.path = own.substr(0, own.size() - 1);
            where.namesMountPoint = true;
            where.gone = true;
            return where;
        }
        where.root = m->root;
        where.path = m->root.size() > 1 ? m->root.substr(0, m->root.size() - 1) : m->root;
        where.remote = m->remote;
        where.namesMountPoint = m->root == own;
        return where;
    }

    // Called on I/O worker threads when the program runs on the real pool.
    DriveSpace measure(const DriveLocation& where, const std::string& path) override
    {
        std::lock_guard lock(measureMutex_);
        ++lookups;
        measured.push_back(path);
        DriveSpace d;
        d.root = where.root;
        d.path = where.path;
        const Mount* m = nullptr;
        for (const auto& candidate : mounts)
            if (candidate.root == where.root)
                m = &candidate;
        if (!m || where.gone || !m->ready || missing.count(path))
            return d;
        d.ready = true;
        d.freeBytes = m->freeBytes;
        d.availableBytes = m->freeBytes;
        d.totalBytes = m->totalBytes;
        return d;
    }

    std::string mountPointOf(std::string_view path) override
    {
        const auto* m = holder(path);
        return m ? m->root : std::string{};
    }

    bool isRemote(std::string_view path) override
    {
        const auto* m = holder(path);
        return m && m->remote;
    }

    std::vector<Mount> mounts;
    std::set<std::string> fstab;   // roots listed to be mounted: a path naming one is gone while unmounted
    std::set<std::string> missing; // paths that are not there although their drive is
    int lookups = 0;
    std::vector<std::string> measured; // the path of every measurement, in order

private:
    std::mutex measureMutex_;
    const Mount* holder(std::string_view path) const
    {
        std::string p(path);
        if (!p.ends_with('/'))
            p += '/';
        const Mount* best = nullptr;
        for (const auto& m : mounts) {
            if (p.starts_with(m.root) && (!best || m.root.size() > best->root.size()))
                best = &m;
        }
        return best;
    }
};

} // namespace volmara::test
