#pragma once

#include "ui/binding.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QWidget>

#include <span>

namespace volmara {

// One button of a window's command row, bound to a handler of the window's model.
template <typename Model>
struct CommandButton {
    const char* caption;
    const char* name; // the button's object name, also the handler's name in error messages
    void (Model::*click)();
};

// A right-aligned row of buttons, each clicking its model handler.
template <typename Model>
QWidget* commandRow(QWidget& owner, Model& model, std::span<const CommandButton<Model>> commands)
{
    auto* row = new QWidget(&owner);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    for (const auto& command : commands) {
        auto* button = new QPushButton(QString::fromLatin1(command.caption), row);
        button->setObjectName(QString::fromLatin1(command.name));
        QObject::connect(button, &QPushButton::clicked, &owner, [&model, click = command.click, name = command.name] {
            guarded(name, [&] { (model.*click)(); });
        });
        layout->addWidget(button);
    }
    return row;
}

} // namespace volmara
