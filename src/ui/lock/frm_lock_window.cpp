#include "ui/lock/frm_lock_window.h"

#include "ui/binding.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace volmara {

FrmLockWindow& FrmLockWindow::ensureFor(FrmLock& model, QWidget& owner)
{
    if (auto* window = owner.findChild<FrmLockWindow*>(QString(), Qt::FindDirectChildrenOnly))
        return *window;
    return *new FrmLockWindow(model, &owner);
}

FrmLockWindow::FrmLockWindow(FrmLock& model, QWidget* parent) : QWidget(parent, Qt::Window), model_(model)
{
    setObjectName(QStringLiteral("frmLock"));
    setWindowTitle(qs(kFrmLockCaption));
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(qs(kLockPrompt), this);
    prompt->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(prompt);

    auto* row = new QHBoxLayout;
    Text1_ = new QLineEdit(this);
    Text1_->setObjectName(QStringLiteral("Text1"));
    Text1_->setEchoMode(QLineEdit::Password);
    Text1_->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    row->addWidget(Text1_, 1);
    Command1_ = new QPushButton(this);
    Command1_->setObjectName(QStringLiteral("Command1_0"));
    row->addWidget(Command1_);
    layout->addLayout(row);

    lblLock_ = new QLabel(this);
    lblLock_->setObjectName(QStringLiteral("lblLock"));
    lblLock_->setWordWrap(true);
    layout->addWidget(lblLock_);

    connect(Text1_, &QLineEdit::textEdited, this,
            [this](const QString& text) { guarded("Text1", [&] { model_.Text1_Change(text.toStdString()); }); });
    connect(Text1_, &QLineEdit::returnPressed, this, [this] { guarded("Text1", [&] { model_.Text1_KeyPress(13); }); });
    connect(Command1_, &QPushButton::clicked, this, [this] { guarded("Command1", [&] { model_.Command1_Click(); }); });

    refreshOn(model_, this, [](FrmLockWindow& w) { w.refresh(); });
    refresh();
    setMinimumWidth(sizeHint().width() * 5 / 4);
}

void FrmLockWindow::refresh()
{
    if (Text1_->text() != qs(model_.Text1()))
        quietly(Text1_, [&](QLineEdit& edit) { edit.setText(qs(model_.Text1())); });
    Command1_->setText(qs(model_.Command1()));
    lblLock_->setText(qs(model_.lblLock()));
    if (model_.visible() && !isVisible()) {
        show();
        raise();
        activateWindow();
        Text1_->setFocus();
    } else if (!model_.visible() && isVisible()) {
        hide();
    }
}

void FrmLockWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    guarded("frmLock", [&] { model_.Form_Unload(); });
}

} // namespace volmara
