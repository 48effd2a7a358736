#include "ui/pages/overview_page.h"

#include "core/form1_model.h"
#include "ui/binding.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace volmara {

OverviewPage::OverviewPage(Form1Model& model, QWidget* parent) : QWidget(parent), model_(model)
{
    setObjectName(QStringLiteral("frmSp4"));
    auto* layout = new QVBoxLayout(this);
    auto* frame = new QGroupBox(QStringLiteral("Overview"), this);
    frame->setObjectName(QStringLiteral("frmOverview"));
    auto* form = new QFormLayout(frame);
    struct Row {
        const char* caption;
        const char* name;
        std::string Form1State::*field;
    };
    const Row rows[] = {
        {"Program started", "lblAppStart", &Form1State::lblAppStart},
        {"drive/path(s) on monitoring", "lblDriveOnMonitor", &Form1State::lblDriveOnMonitor},
        {"Times the program have monitored", "lblTimesMonitor", &Form1State::lblTimesMonitor},
        {"Alerts the program have raised:", "lblAlertsRaised", &Form1State::lblAlertsRaised},
        {"High-rated alerts", "lblHighRatedAlerts", &Form1State::lblHighRatedAlerts},
        {"Space Change Rate in (KB/sec.) :", "lblSpaceChangeRate", &Form1State::lblSpaceChangeRate},
    };
    for (const auto& row : rows) {
        auto* value = new QLabel(frame);
        value->setObjectName(QString::fromLatin1(row.name));
        form->addRow(QString::fromLatin1(row.caption), value);
        figures_.push_back({value, row.field});
    }
    layout->addWidget(frame);
    lstInfo_ = new QListWidget(this);
    lstInfo_->setObjectName(QStringLiteral("lstInfo"));
    lstInfo_->setSelectionMode(QAbstractItemView::NoSelection);
    layout->addWidget(lstInfo_, 1);
    refreshOn(model_.app().form1, this, [](OverviewPage& p) { p.refresh(); });
    refresh();
}

void OverviewPage::refresh()
{
    const auto& form = model_.app().form1;
    for (const auto& figure : figures_)
        figure.value->setText(qs(form.*figure.field));
    // Lines are only ever appended: show the new ones, keep the view where the user left it.
    for (auto i = static_cast<std::size_t>(lstInfo_->count()); i < form.lstInfo.size(); ++i)
        lstInfo_->addItem(qs(form.lstInfo[i]));
}

} // namespace volmara
