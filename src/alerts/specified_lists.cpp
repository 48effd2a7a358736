#include "alerts/specified_lists.h"

namespace volmara {

std::string SpecifiedFileRow::cell(int column) const
{
    switch (column) {
    case 0: return text;
    case 1: return size;
    case 2: return location;
    case 3: return accessed;
    case 4: return modified;
    case 5: return created;
    case 6: return type;
    default: return {};
    }
}

std::string SpecifiedProgramRow::cell(int column) const
{
    switch (column) {
    case 0: return text;
    case 1: return action;
    case 2: return location;
    case 3: return type;
    default: return {};
    }
}

} // namespace volmara
