#pragma once

#include "platform/shell.h"

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include <sys/types.h>

namespace volmara {

// Programs are started with posix_spawn, without a shell (no text is ever interpreted), in a
// session of their own with the default signal handling, and are not waited for. Their exit is
// collected at the next start and when the object goes. Documents, folders and locations open
// through the desktop's opener (xdg-open, found on the search path).
//
// The properties window belongs to the window system; the program gives it with
// setPropertiesWindow().
class PosixShell final : public Shell {
public:
    explicit PosixShell(std::string opener = "xdg-open");
    ~PosixShell() override;
    PosixShell(const PosixShell&) = delete;
    PosixShell& operator=(const PosixShell&) = delete;

    void start(const std::string& path, const std::vector<std::string>& parameters) override;
    void open(const std::string& target) override;
    void explore(const std::string& folder) override;
    std::optional<std::string> findProgram(const std::string& name) override;
    void showProperties(const PropertiesRequest& request) override;

    void setPropertiesWindow(std::function<void(const PropertiesRequest&)> window) { propertiesWindow_ = std::move(window); }

private:
    void spawn(const std::string& program, const std::vector<std::string>& arguments);
    void collectFinished();

    std::string opener_;
    std::function<void(const PropertiesRequest&)> propertiesWindow_;
    std::mutex mutex_;
    std::vector<pid_t> children_;
};

} // namespace volmara
