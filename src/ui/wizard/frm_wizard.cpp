#include "ui/wizard/frm_wizard.h"

#include "ui/binding.h"
#include "ui/command_row.h"
#include "ui/wizard/wizard_pages.h"
#include "wizard/wizard_model.h"

#include <algorithm>

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace volmara {

FrmWizard& FrmWizard::showFor(WizardModel& model, QWidget& owner)
{
    auto* window = owner.findChild<FrmWizard*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window)
        window = new FrmWizard(model, &owner);
    guarded("frmWizard", [&] { model.show(); });
    window->raise();
    window->activateWindow();
    return *window;
}

FrmWizard::FrmWizard(WizardModel& model, QWidget* parent) : QWidget(parent, Qt::Window), model_(model)
{
    setObjectName(QStringLiteral("frmWizard"));
    setWindowTitle(qs(kFrmWizardCaption));
    auto* layout = new QVBoxLayout(this);

    pages_ = new QStackedWidget(this);
    Frame1_ = {
        new SpacePage(model_, pages_),
        new TimingPage(model_, pages_),
        new PathListPage(model_, WizardList::Files, pages_),
        new ResponsesPage(model_, pages_),
        new TextPage(model_, TextPage::Field::FileTypes, pages_),
        new TextPage(model_, TextPage::Field::MovePath, pages_),
        new PathListPage(model_, WizardList::Programs, pages_),
    };
    for (auto* page : Frame1_)
        pages_->addWidget(page);
    layout->addWidget(pages_, 1);

    lblOp_ = new QLabel(this);
    lblOp_->setObjectName(QStringLiteral("lblOp"));
    auto* hint = new QLabel(QStringLiteral("Click \"Next\" to continue, or \"Close\" to exit this Wizard."), this);
    auto* labels = new QHBoxLayout;
    labels->addWidget(hint, 1);
    labels->addWidget(lblOp_);
    layout->addLayout(labels);
    layout->addWidget(buildButtons());

    refreshOn(model_, this, [](FrmWizard& w) { w.refresh(); });
    // Wrapped explanations need their height at the window's width, which the least size ignores.
    constexpr int kWidth = 520;
    resize(kWidth, std::max(440, layout->totalHeightForWidth(kWidth)));
    refresh();
}

QWidget* FrmWizard::buildButtons()
{
    static constexpr std::array<CommandButton<WizardModel>, 6> kCommands{{
        {"< &Back", "cmdReverse", &WizardModel::cmdReverse_Click},
        {"&Next >", "cmdProgress", &WizardModel::cmdProgress_Click},
        {"&Apply", "cmdApply", &WizardModel::cmdApply_Click},
        {"&OK", "cmdOK", &WizardModel::cmdOK_Click},
        {"&Close", "cmdCancel", &WizardModel::cmdCancel_Click},
        {"&Help", "cmdHelp", &WizardModel::cmdHelp_Click},
    }};
    auto* row = commandRow<WizardModel>(*this, model_, kCommands);
    cmdReverse_ = row->findChild<QPushButton*>(QStringLiteral("cmdReverse"));
    cmdProgress_ = row->findChild<QPushButton*>(QStringLiteral("cmdProgress"));
    cmdApply_ = row->findChild<QPushButton*>(QStringLiteral("cmdApply"));
    return row;
}

void FrmWizard::refresh()
{
    pages_->setCurrentIndex(model_.page());
    for (auto* page : Frame1_)
        page->refresh();
    lblOp_->setText(qs(model_.lblOp()));
    cmdReverse_->setEnabled(model_.backEnabled());
    cmdProgress_->setEnabled(model_.nextEnabled());
    cmdApply_->setEnabled(model_.applyEnabled());
    if (isVisible() != model_.visible())
        setVisible(model_.visible());
}

void FrmWizard::closeEvent(QCloseEvent* event)
{
    // The close button hides the window as "&Close" does; the model decides.
    event->ignore();
    guarded("frmWizard", [&] { model_.cmdCancel_Click(); });
}

} // namespace volmara
