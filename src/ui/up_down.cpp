#include "ui/up_down.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace volmara {

UpDown::UpDown(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const auto addButton = [&](Qt::ArrowType arrow, const char* name) {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoRepeat(true);
        button->setFixedSize(18, 11);
        layout->addWidget(button);
        return button;
    };
    connect(addButton(Qt::UpArrow, "up"), &QToolButton::clicked, this, &UpDown::up);
    connect(addButton(Qt::DownArrow, "down"), &QToolButton::clicked, this, &UpDown::down);
}

} // namespace volmara
