#include "ui/specified/file_drop.h"

#include "ui/binding.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace volmara {

namespace {

std::vector<std::string> localPaths(const QMimeData& data)
{
    std::vector<std::string> paths;
    for (const auto& url : data.urls())
        if (url.isLocalFile())
            paths.push_back(url.toLocalFile().toStdString());
    return paths;
}

} // namespace

FileDrop::FileDrop(QWidget& target, Handler dropped) : QObject(&target), dropped_(std::move(dropped))
{
    target.setAcceptDrops(true);
    target.installEventFilter(this);
}

void FileDrop::install(QWidget& target, Handler dropped) { new FileDrop(target, std::move(dropped)); }

bool FileDrop::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (drag->mimeData()->hasUrls()) {
            drag->acceptProposedAction();
            return true;
        }
        drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        auto paths = localPaths(*drop->mimeData());
        drop->acceptProposedAction();
        if (!paths.empty())
            guarded("drop", [&] { dropped_(std::move(paths)); });
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace volmara
