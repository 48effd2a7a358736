#pragma once

#include "core/watch_entry.h"

#include <QIcon>

#include <array>
#include <string_view>

class QStyle;

namespace volmara {

// The keys of the main window's image list `ImageList1`, in index order from 1.
inline constexpr std::array<std::string_view, 15> kImageList1Keys{
    "alert", "stop", "start", "sound", "smile", "graph", "refresh", "message",
    "open",  "time", "low",   "handheld", "greenlight", "work", "help"};

// The program's own picture named `key` (an `ImageList1` key, "ok", "question" or "volmara");
// a null icon for a key it does not ship.
QIcon pictureIcon(std::string_view key);
// The picture of `ImageList1` at the 1-based `index`; null outside the list.
QIcon imageListIcon(const QStyle& style, int index);
// The watch list's status icons; none gives a null icon.
QIcon statusIcon(const QStyle& style, StatusIcon icon);
// The program's logo, for its windows and the tray.
QIcon programIcon();

} // namespace volmara
