#include "ui/tray/tray_icon.h"

#include "ui/binding.h"

#include <QApplication>
#include <QStyle>
#include <QSystemTrayIcon>

namespace volmara {

namespace {

std::size_t slot(TrayPicture picture) { return static_cast<std::size_t>(picture); }

} // namespace

TrayIcon::TrayIcon(SysWorkSystray& model, QObject* parent) : QObject(parent), model_(model)
{
    setObjectName(QStringLiteral("sysWorkSystray"));
    // Drawn from the style until the program ships its own pictures.
    const QStyle* style = QApplication::style();
    const QIcon own = QApplication::windowIcon();
    pictures_[slot(TrayPicture::Normal)] = own.isNull() ? style->standardIcon(QStyle::SP_DriveHDIcon) : own;
    pictures_[slot(TrayPicture::Alert)] = style->standardIcon(QStyle::SP_MessageBoxWarning);
    pictures_[slot(TrayPicture::Paused)] = style->standardIcon(QStyle::SP_MediaPause);

    icon_ = new QSystemTrayIcon(pictures_[slot(TrayPicture::Normal)], this);
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        guarded("sysWorkSystray", [&] {
            if (reason == QSystemTrayIcon::DoubleClick)
                model_.mouseMessage(kWmLButtonDblClk);
            else if (reason == QSystemTrayIcon::Context)
                model_.mouseMessage(kWmRButtonUp);
        });
    });
    model_.subscribe([self = QPointer<TrayIcon>(this)] {
        if (self)
            self->refresh();
    });
    refresh();
}

TrayIcon::~TrayIcon() { icon_->hide(); }

void TrayIcon::refresh()
{
    icon_->setIcon(pictures_[slot(model_.picture())]);
    icon_->setToolTip(qs(model_.tip()));
    if (icon_->isVisible() != model_.iconPresent())
        icon_->setVisible(model_.iconPresent());
}

} // namespace volmara
