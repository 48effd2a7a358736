#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace volmara {

// What a properties window shows of a path when the desktop's file manager cannot show its own:
// labelled facts, in order ("Type", "Size", ...), gathered by the caller on the I/O workers.
struct PropertiesRequest {
    std::string path;
    std::vector<std::pair<std::string, std::string>> facts;
};

// Starting programs, opening documents and folders in the desktop's applications, exploring
// folders and showing a path's properties.
//
// start() and open() may block briefly on the file system (the program's file is read to start
// it): the core calls them on the I/O workers. They return once the program is started, never
// waiting for it to end, and throw Error with the reason when it cannot be started.
class Shell {
public:
    virtual ~Shell() = default;

    // An executable file is started with the given parameters, without a shell; anything else
    // opens with the desktop's default application.
    virtual void start(const std::string& path, const std::vector<std::string>& parameters) = 0;
    // A document, a folder or a location ("trash:///") in the desktop's default application.
    virtual void open(const std::string& target) = 0;
    // A folder in the desktop's file manager.
    virtual void explore(const std::string& folder) = 0;
    // The full path of a program found on the search path; nullopt when it is not installed.
    virtual std::optional<std::string> findProgram(const std::string& name) = 0;
    // The properties of a path, without waiting for the window; on the UI thread.
    virtual void showProperties(const PropertiesRequest& request) = 0;
};

} // namespace volmara
