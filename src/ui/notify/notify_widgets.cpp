#include "ui/notify/notify_widgets.h"

#include "ui/binding.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTimeEdit>

namespace volmara {

QLineEdit* notifyTextBox(NotifyModel& model, NotifyText box, const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    QObject::connect(edit, &QLineEdit::textEdited, edit, [&model, box, name](const QString& text) {
        guarded(name, [&] { model.setText(box, text.toStdString()); });
    });
    showNotifyText(edit, model, box);
    return edit;
}

void showNotifyText(QLineEdit* edit, const NotifyModel& model, NotifyText box)
{
    const auto text = qs(model.text(box));
    if (edit->text() == text)
        return;
    quietly(edit, [&](QLineEdit& e) {
        e.setText(text);
        // A window opening with long values shows their beginnings; once shown, the cursor is the
        // user's.
        if (!e.isVisible())
            e.setCursorPosition(0);
    });
}

QListWidget* tickList(const std::string_view* captions, std::size_t count, const char* name, QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    for (std::size_t i = 0; i < count; ++i) {
        auto* item = new QListWidgetItem(qs(captions[i]), list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
    return list;
}

void showTick(QListWidget* list, int row, bool ticked)
{
    auto* item = list->item(row);
    const auto state = ticked ? Qt::Checked : Qt::Unchecked;
    if (item && item->checkState() != state)
        quietly(list, [&](QListWidget&) { item->setCheckState(state); });
}

QTimeEdit* hourMinutePicker(const char* name, QWidget* parent)
{
    auto* picker = new QTimeEdit(parent);
    picker->setObjectName(QString::fromLatin1(name));
    picker->setDisplayFormat(QStringLiteral("HH:mm"));
    return picker;
}

void showHourMinute(QTimeEdit* picker, const DateTime& value)
{
    const QTime time(value.hour, value.minute);
    if (picker->time() != time)
        quietly(picker, [&](QTimeEdit& p) { p.setTime(time); });
}

} // namespace volmara
