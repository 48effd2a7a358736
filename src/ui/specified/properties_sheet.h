#pragma once

#include "platform/shell.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

class QDialog;

namespace volmara {

// The properties of a path: the desktop file manager's own window
// (org.freedesktop.FileManager1.ShowItemProperties on the session bus) when one answers, else a
// small window of the program's with the facts the caller gathered. Neither is waited for.
class PropertiesSheet final : public QObject {
    Q_OBJECT
public:
    explicit PropertiesSheet(QWidget* owner = nullptr);

    void show(const PropertiesRequest& request);
    void setOwner(QWidget* owner) { owner_ = owner; }

    static QDialog* showOwn(const PropertiesRequest& request, QWidget* owner);

private:
    QPointer<QWidget> owner_;
};

} // namespace volmara
