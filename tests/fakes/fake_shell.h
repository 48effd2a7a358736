#pragma once

#include "core/error.h"
#include "platform/shell.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace volmara::test {

// Records what the program starts, opens and shows. `refused` makes a start or an open fail with
// the given reason; `installed` names the programs found on the search path.
class FakeShell final : public Shell {
public:
    struct Start {
        std::string path;
        std::vector<std::string> parameters;
        bool operator==(const Start&) const = default;
    };

    void start(const std::string& path, const std::vector<std::string>& parameters) override
    {
        std::lock_guard lock(mutex);
        refuseIfAsked(path);
        started.push_back(Start{path, parameters});
    }
    void open(const std::string& target) override
    {
        std::lock_guard lock(mutex);
        refuseIfAsked(target);
        opened.push_back(target);
    }
    void explore(const std::string& folder) override
    {
        std::lock_guard lock(mutex);
        refuseIfAsked(folder);
        explored.push_back(folder);
    }
    std::optional<std::string> findProgram(const std::string& name) override
    {
        std::lock_guard lock(mutex);
        const auto it = installed.find(name);
        if (it == installed.end())
            return std::nullopt;
        return it->second;
    }
    void showProperties(const PropertiesRequest& request) override { properties.push_back(request); }

    std::mutex mutex;
    std::vector<Start> started;
    std::vector<std::string> opened;
    std::vector<std::string> explored;
    std::vector<PropertiesRequest> properties;
    std::map<std::string, std::string> refused;
    std::map<std::string, std::string> installed;

private:
    void refuseIfAsked(const std::string& path)
    {
        const auto it = refused.find(path);
        if (it != refused.end())
            throw Error(ErrorKind::Other, it->second);
    }
};

} // namespace volmara::test
