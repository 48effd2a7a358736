#pragma once

#include "core/observer.h"
#include "core/task.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

class AppState;

// What kind of thing a path's shell icon shows; the window draws the desktop's icon for it.
enum class ShellIconKind { Drive, Folder, File };

// One picture of `ImageListLV`: a fixed one named by its key, or the shell icon of a path.
struct ListImage {
    std::string key; // "alert", "ok", "question"; empty for a path's icon
    std::string path;
    ShellIconKind kind = ShellIconKind::File;
    int size = 16; // 16 the small icon, any other value the large one
};

// `ImageListLV`, the watch list's small icons: the three fixed pictures, then one per path whose
// shell icon was fetched. Indexes count from 1, as the list does; 0 names no picture.
class SmallIconList : public Observable {
public:
    SmallIconList();

    std::int16_t Count() const { return static_cast<std::int16_t>(images_.size()); }
    const ListImage& image(std::int16_t index) const;
    // The fixed picture with `key`, 0 when there is none.
    std::int16_t indexOf(std::string_view key) const;
    // The picture already fetched for `path` at `size`, 0 when there is none.
    std::int16_t indexOfPath(std::string_view path, int size) const;
    // Adds a picture as the new last one; 0 when the list is full.
    std::int16_t add(ListImage image);

private:
    std::vector<ListImage> images_;
};

// Fetches the shell icon of `path` into `ImageListLV` and returns its index, or 0 when the shell
// has no icon for it (the path does not exist, or its file system does not answer). A path whose
// icon was fetched before gets that picture again: the check fetches for every unwatched entry
// on every check, and the list must not grow for as long as the program runs.
Task<std::int16_t> ExtractShellIcon(AppState& app, std::string path, int size);

} // namespace volmara
