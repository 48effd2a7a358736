#include "ui/pictures.h"

#include <QFile>

namespace volmara {

QIcon pictureIcon(std::string_view key)
{
    const auto path = QStringLiteral(":/images/%1.svg").arg(QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())));
    // QIcon accepts any path and only fails when painting; a missing file must read as no picture.
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

QIcon imageListIcon(const QStyle&, int index)
{
    if (index < 1 || index > static_cast<int>(kImageList1Keys.size()))
        return {};
    return pictureIcon(kImageList1Keys[static_cast<std::size_t>(index - 1)]);
}

QIcon statusIcon(const QStyle&, StatusIcon icon)
{
    switch (icon) {
    case StatusIcon::Ok: return pictureIcon("ok");
    case StatusIcon::Alert: return pictureIcon("alert");
    case StatusIcon::None: break;
    }
    return {};
}

QIcon programIcon()
{
    return pictureIcon("volmara");
}

} // namespace volmara
