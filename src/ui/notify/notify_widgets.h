#pragma once

#include "notify/notify_model.h"

#include <QString>

#include <array>
#include <string_view>

class QLineEdit;
class QListWidget;
class QTimeEdit;
class QWidget;

namespace volmara {

// A text box of the notification window: edits go to the model, the model's text comes back.
QLineEdit* notifyTextBox(NotifyModel& model, NotifyText box, const char* name, QWidget* parent);
void showNotifyText(QLineEdit* edit, const NotifyModel& model, NotifyText box);

// A list of captions, each with a tick box.
QListWidget* tickList(const std::string_view* captions, std::size_t count, const char* name, QWidget* parent);
void showTick(QListWidget* list, int row, bool ticked);

// A time picker for hours and minutes.
QTimeEdit* hourMinutePicker(const char* name, QWidget* parent);
void showHourMinute(QTimeEdit* picker, const DateTime& value);

} // namespace volmara
