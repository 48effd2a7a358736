#pragma once

#include "alerts/shell_icon_list.h"

#include <QIcon>

class QStyle;

namespace volmara {

// The picture of `ImageListLV` at `index`: the fixed ones from the style, a path's shell icon
// from the desktop's icon theme. A null icon for an index the list does not hold.
QIcon imageListLVIcon(const QStyle& style, const SmallIconList& list, std::int16_t index);

} // namespace volmara
