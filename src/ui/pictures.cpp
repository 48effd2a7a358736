#include "ui/pictures.h"

#include "core/form1_state.h"

#include <QStyle>

namespace volmara {

QIcon imageListIcon(const QStyle& style, int index)
{
    switch (index) {
    case kImageStop: return style.standardIcon(QStyle::SP_MediaStop);
    case kImageGraph: return style.standardIcon(QStyle::SP_FileDialogDetailedView);
    case kImageGreenLight: return style.standardIcon(QStyle::SP_MediaPlay);
    case kImageWork: return style.standardIcon(QStyle::SP_BrowserReload);
    default: return {};
    }
}

QIcon statusIcon(const QStyle& style, StatusIcon icon)
{
    switch (icon) {
    case StatusIcon::Ok: return style.standardIcon(QStyle::SP_DialogApplyButton);
    case StatusIcon::Alert: return style.standardIcon(QStyle::SP_MessageBoxWarning);
    case StatusIcon::None: break;
    }
    return {};
}

} // namespace volmara
