#include "ui/notify/frm_notify.h"

#include "notify/notify_model.h"
#include "ui/binding.h"
#include "ui/command_row.h"
#include "ui/notify/notify_pages.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace volmara {

FrmNotify& FrmNotify::showFor(NotifyModel& model, QWidget& owner)
{
    auto* window = owner.findChild<FrmNotify*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window)
        window = new FrmNotify(model, &owner);
    guarded("frmNotify", [&] { model.show(); });
    window->raise();
    window->activateWindow();
    return *window;
}

FrmNotify::FrmNotify(NotifyModel& model, QWidget* parent) : QWidget(parent, Qt::Window), model_(model)
{
    setObjectName(QStringLiteral("frmNotify"));
    setWindowTitle(qs(kFrmNotifyCaption));
    auto* layout = new QVBoxLayout(this);

    TabStrip1_ = new QTabBar(this);
    TabStrip1_->setObjectName(QStringLiteral("TabStrip1"));
    for (const auto tab : kTabStrip1Tabs)
        TabStrip1_->addTab(qs(tab));
    layout->addWidget(TabStrip1_);

    pages_ = new QStackedWidget(this);
    contentPage_ = new NotifyContentPage(model_, pages_);
    sendOptionsPage_ = new SendOptionsPage(model_, pages_);
    customMessagePage_ = new CustomMessagePage(model_, pages_);
    emailAcctPage_ = new EmailAcctPage(model_, pages_);
    // In tab order: each tab shows its own page.
    pages_->addWidget(contentPage_);
    pages_->addWidget(sendOptionsPage_);
    pages_->addWidget(customMessagePage_);
    pages_->addWidget(emailAcctPage_);
    layout->addWidget(pages_, 1);
    connect(TabStrip1_, &QTabBar::currentChanged, this, [this](int index) {
        guarded("TabStrip1", [&] { model_.TabStrip1_Click(static_cast<NotifyTab>(index)); });
    });

    layout->addWidget(buildButtons());
    StatusTxt_ = new QLabel(this);
    StatusTxt_->setObjectName(QStringLiteral("StatusTxt"));
    layout->addWidget(StatusTxt_);

    refreshOn(model_, this, [](FrmNotify& w) { w.refresh(); });
    resize(560, 420);
    refresh();
}

QWidget* FrmNotify::buildButtons()
{
    static constexpr std::array<CommandButton<NotifyModel>, 5> kCommands{{
        {"&OK", "cmdOK", &NotifyModel::cmdOK_Click},
        {"&Cancel", "cmdCancel", &NotifyModel::cmdCancel_Click},
        {"&Apply", "cmdApply", &NotifyModel::cmdApply_Click},
        {"Send &Now", "cmdSendNow", &NotifyModel::cmdSendNow_Click},
        {"NT Evt", "cmdNTEvt", &NotifyModel::cmdNTEvt_Click},
    }};
    auto* row = commandRow<NotifyModel>(*this, model_, kCommands);
    return row;
}

void FrmNotify::refresh()
{
    const int tab = static_cast<int>(model_.TabStrip1());
    if (TabStrip1_->currentIndex() != tab)
        quietly(TabStrip1_, [&](QTabBar& t) { t.setCurrentIndex(tab); });
    pages_->setCurrentIndex(tab);
    contentPage_->refresh();
    sendOptionsPage_->refresh();
    customMessagePage_->refresh();
    emailAcctPage_->refresh();
    StatusTxt_->setText(qs(model_.StatusTxt()));
    if (isVisible() != model_.visible())
        setVisible(model_.visible());
}

void FrmNotify::closeEvent(QCloseEvent* event)
{
    // The close button hides the window as "&Cancel" does; the model decides.
    event->ignore();
    guarded("frmNotify", [&] { model_.cmdCancel_Click(); });
}

} // namespace volmara
