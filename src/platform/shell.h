#pragma once

namespace volmara {

// Starting programs, opening documents and folders in the desktop's applications, exploring
// folders and showing a path's properties.
class Shell {
public:
    virtual ~Shell() = default;
};

} // namespace volmara
