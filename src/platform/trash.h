#pragma once

namespace volmara {

// The desktop's trash: moving one path into it, emptying it, showing it.
class Trash {
public:
    virtual ~Trash() = default;
};

} // namespace volmara
