#include "ui/specified/properties_sheet.h"

#include "ui/binding.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QUrl>

namespace volmara {

PropertiesSheet::PropertiesSheet(QWidget* owner) : owner_(owner) {}

void PropertiesSheet::show(const PropertiesRequest& request)
{
    auto bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        showOwn(request, owner_);
        return;
    }
    auto call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.FileManager1"),
                                               QStringLiteral("/org/freedesktop/FileManager1"),
                                               QStringLiteral("org.freedesktop.FileManager1"),
                                               QStringLiteral("ShowItemProperties"));
    call << QStringList{QUrl::fromLocalFile(qs(request.path)).toString(QUrl::FullyEncoded)} << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 5000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, request, watcher] {
        // No file manager on the bus, or one that refused: the program shows what it knows.
        if (watcher->isError())
            showOwn(request, owner_);
        watcher->deleteLater();
    });
}

QDialog* PropertiesSheet::showOwn(const PropertiesRequest& request, QWidget* owner)
{
    const QString path = qs(request.path);
    const QString name = QFileInfo(path).fileName().isEmpty() ? path : QFileInfo(path).fileName();
    auto* dialog = new QDialog(owner);
    dialog->setObjectName(QStringLiteral("filePropertiesDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(name + QStringLiteral(" Properties"));
    auto* form = new QFormLayout(dialog);
    auto* nameLabel = new QLabel(name, dialog);
    nameLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QStringLiteral("Name:"), nameLabel);
    for (const auto& [label, value] : request.facts) {
        auto* shown = new QLabel(qs(value), dialog);
        shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(qs(label) + QLatin1Char(':'), shown);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
    form->addRow(buttons);
    dialog->show();
    return dialog;
}

} // namespace volmara
