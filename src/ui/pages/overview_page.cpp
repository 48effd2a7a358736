#include "ui/pages/overview_page.h"

#include "core/form1_model.h"
#include "ui/binding.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
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
    layout->addStretch();
    refreshOn(model_.app().form1, this, [](OverviewPage& p) { p.refresh(); });
    refresh();
}

void OverviewPage::refresh()
{
    const auto& form = model_.app().form1;
    for (const auto& figure : figures_)
        figure.value->setText(qs(form.*figure.field));
}

} // namespace volmara
