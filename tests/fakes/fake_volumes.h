#pragma once

#include "core/error.h"
#include "platform/volumes.h"

#include <algorithm>
#include <map>
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

    DriveSpace drive(std::string_view path) override
    {
        ++lookups;
        if (!path.starts_with('/'))
            throw Error(ErrorKind::InvalidArgument, "Invalid procedure call or argument");
        const auto* m = holder(path);
        if (!m)
            throw Error(ErrorKind::InvalidArgument, "Invalid procedure call or argument");
        DriveSpace d;
        d.ready = m->ready;
        d.root = m->root;
        d.path = m->root.size() > 1 ? m->root.substr(0, m->root.size() - 1) : m->root;
        if (m->ready) {
            d.freeBytes = m->freeBytes;
            d.availableBytes = m->freeBytes;
            d.totalBytes = m->totalBytes;
        }
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
    int lookups = 0;

private:
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
