#pragma once

#include "core/watch_entry.h"

#include <QIcon>

class QStyle;

namespace volmara {

// The pictures of the main window's image list the status bar and toolbar use, drawn from the
// style until the program ships its own.
QIcon imageListIcon(const QStyle& style, int index);
// The watch list's status icons; none gives a null icon.
QIcon statusIcon(const QStyle& style, StatusIcon icon);

} // namespace volmara
