#pragma once

#include "shell/sys_work_systray.h"

#include <QIcon>
#include <QObject>

#include <array>

class QSystemTrayIcon;

namespace volmara {

// The tray icon of `sysWorkSystray` on the desktop's tray (StatusNotifierItem or XEmbed): shows
// what the model decides and hands the mouse messages back to it.
class TrayIcon final : public QObject {
    Q_OBJECT
public:
    TrayIcon(SysWorkSystray& model, QObject* parent);
    ~TrayIcon() override;

    QSystemTrayIcon* icon() const { return icon_; }

private:
    void refresh();

    SysWorkSystray& model_;
    QSystemTrayIcon* icon_ = nullptr;
    std::array<QIcon, 3> pictures_;
};

} // namespace volmara
