#include "ui/alert/shell_icons.h"

#include "ui/pictures.h"

#include <QFileIconProvider>
#include <QMimeDatabase>
#include <QStyle>

namespace volmara {

namespace {

QIcon shellIcon(const ListImage& image)
{
    // The kind was found on the I/O workers; here nothing touches the file system: a file's
    // icon follows the type its name gives.
    const QFileIconProvider provider;
    switch (image.kind) {
    case ShellIconKind::Drive: return provider.icon(QAbstractFileIconProvider::Drive);
    case ShellIconKind::Folder: return provider.icon(QAbstractFileIconProvider::Folder);
    case ShellIconKind::File: break;
    }
    const QMimeType type = QMimeDatabase().mimeTypeForFile(QString::fromStdString(image.path), QMimeDatabase::MatchExtension);
    const QIcon byType = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
    return byType.isNull() ? provider.icon(QAbstractFileIconProvider::File) : byType;
}

} // namespace

QIcon imageListLVIcon(const QStyle& style, const SmallIconList& list, std::int16_t index)
{
    if (index < 1 || index > list.Count())
        return {};
    const auto& image = list.image(index);
    if (image.key == "alert")
        return statusIcon(style, StatusIcon::Alert);
    if (image.key == "ok")
        return statusIcon(style, StatusIcon::Ok);
    if (image.key == "question")
        return pictureIcon("question");
    return shellIcon(image);
}

} // namespace volmara
