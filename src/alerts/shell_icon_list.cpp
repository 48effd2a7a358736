#include "alerts/shell_icon_list.h"

#include "core/app_state.h"
#include "core/error.h"

#include <limits>
#include <optional>

namespace volmara {

SmallIconList::SmallIconList()
{
    for (const char* key : {"alert", "ok", "question"})
        images_.push_back(ListImage{key, {}, ShellIconKind::File, 16});
}

const ListImage& SmallIconList::image(std::int16_t index) const
{
    if (index < 1 || index > Count())
        throw Error(ErrorKind::IndexOutOfRange, "Invalid picture index");
    return images_[static_cast<std::size_t>(index - 1)];
}

std::int16_t SmallIconList::indexOf(std::string_view key) const
{
    for (std::size_t i = 0; i < images_.size(); ++i)
        if (!key.empty() && images_[i].key == key)
            return static_cast<std::int16_t>(i + 1);
    return 0;
}

std::int16_t SmallIconList::indexOfPath(std::string_view path, int size) const
{
    for (std::size_t i = 0; i < images_.size(); ++i) {
        const auto& image = images_[i];
        if (image.key.empty() && image.path == path && (image.size == 16) == (size == 16))
            return static_cast<std::int16_t>(i + 1);
    }
    return 0;
}

std::int16_t SmallIconList::add(ListImage image)
{
    if (images_.size() >= static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max()))
        return 0;
    images_.push_back(std::move(image));
    notify();
    return Count();
}

Task<std::int16_t> ExtractShellIcon(AppState& app, std::string path, int size)
{
    auto& list = app.ImageListLV;
    if (const auto known = list.indexOfPath(path, size))
        co_return known;

    // Telling a folder from a file asks the file system, which may not answer. (Started outside
    // the co_await: GCC 12 destroys a capturing closure of a co_await expression twice.)
    auto lookup = app.sv.io.start(app.sv.volumes.mountPointOf(path), [&files = app.sv.files, path] {
        if (files.folderExists(path))
            return std::optional<ShellIconKind>(ShellIconKind::Folder);
        if (files.fileExists(path))
            return std::optional<ShellIconKind>(ShellIconKind::File);
        return std::optional<ShellIconKind>();
    });
    const auto reply = co_await lookup;
    if (!reply.answered() || !*reply.value)
        co_return 0;
    auto kind = **reply.value;
    const auto root = app.sv.paths.driveRoot(path);
    if (kind == ShellIconKind::Folder && !root.empty() && app.sv.paths.samePath(app.sv.paths.withSeparator(path), root))
        kind = ShellIconKind::Drive;

    // Another fetch of the same path may have finished while this one waited.
    if (const auto known = list.indexOfPath(path, size))
        co_return known;
    co_return list.add(ListImage{{}, path, kind, size});
}

} // namespace volmara
