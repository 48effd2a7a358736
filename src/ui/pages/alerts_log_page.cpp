#include "ui/pages/alerts_log_page.h"

#include "core/form1_model.h"
#include "ui/binding.h"
#include "ui/link_label.h"
#include "ui/up_down.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <array>

namespace volmara {

AlertsLogPage::AlertsLogPage(Form1Model& model, QWidget* parent) : QWidget(parent), model_(model)
{
    setObjectName(QStringLiteral("frmSp3"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildSettings());

    LVAlert_ = new QTreeWidget(this);
    LVAlert_->setObjectName(QStringLiteral("LVAlert"));
    LVAlert_->setRootIsDecorated(false);
    LVAlert_->setUniformRowHeights(true);
    LVAlert_->setHeaderLabels({QStringLiteral("Rating"), QStringLiteral("Time/Date"), QStringLiteral("Action Taken")});
    LVAlert_->header()->setStretchLastSection(true);
    layout->addWidget(LVAlert_, 1);
    layout->addWidget(buildCommands());

    refreshOn(model_.app().log, this, [](AlertsLogPage& p) { p.refreshAlerts(); });
    refreshOn(model_.app().form1, this, [](AlertsLogPage& p) { p.refresh(); });
    refresh();
}

QWidget* AlertsLogPage::buildSettings()
{
    auto* frame = new QGroupBox(QStringLiteral("Alert Settings"), this);
    auto* layout = new QHBoxLayout(frame);
    layout->addWidget(new QLabel(QStringLiteral("Limit Alerts to:"), frame));
    txtAmt_ = new QLineEdit(frame);
    txtAmt_->setObjectName(QStringLiteral("txtAmt"));
    // Only UpDown3 changes the limit.
    txtAmt_->setEnabled(false);
    txtAmt_->setMaximumWidth(60);
    auto* UpDown3 = new UpDown(frame);
    UpDown3->setObjectName(QStringLiteral("UpDown3"));
    layout->addWidget(txtAmt_);
    layout->addWidget(UpDown3);
    connect(UpDown3, &UpDown::up, this, [this] { guarded("UpDown3", [&] { model_.alertLimitUp(); }); });
    connect(UpDown3, &UpDown::down, this, [this] { guarded("UpDown3", [&] { model_.alertLimitDown(); }); });

    chkLog_ = new QCheckBox(QStringLiteral("Show Log "), frame);
    chkLog_->setObjectName(QStringLiteral("chkLog"));
    chkAutoSave_ = new QCheckBox(QStringLiteral("Auto Save Log to file"), frame);
    chkAutoSave_->setObjectName(QStringLiteral("chkAutoSave"));
    layout->addStretch();
    layout->addWidget(chkLog_);
    layout->addWidget(chkAutoSave_);
    connect(chkLog_, &QCheckBox::clicked, this, [this](bool on) { model_.app().settings.chkLog = on ? 1 : 0; });
    connect(chkAutoSave_, &QCheckBox::clicked, this,
            [this](bool on) { model_.app().settings.chkAutoSave = on ? 1 : 0; });
    return frame;
}

QWidget* AlertsLogPage::buildCommands()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    struct Command {
        const char* caption;
        void (*run)(Form1Model&);
    };
    const std::array<Command, 4> commands{{
        {"Save", [](Form1Model& m) { m.saveLog(); }},
        {"Open Log", [](Form1Model& m) { m.openLog(); }},
        {"Clear", [](Form1Model& m) { m.clearLog(); }},
        {"Delete Log", [](Form1Model& m) { m.deleteLog(); }},
    }};
    for (std::size_t i = 0; i < commands.size(); ++i) {
        auto* label = new LinkLabel(QString::fromLatin1(commands[i].caption), QString(), row);
        label->setObjectName(QStringLiteral("lblAl%1").arg(i));
        layout->addWidget(label);
        connect(label, &LinkLabel::clicked, this,
                [this, run = commands[i].run] { guarded("lblAl", [this, run] { run(model_); }); });
    }
    layout->addStretch();
    return row;
}

void AlertsLogPage::refreshAlerts()
{
    const auto& rows = model_.app().log.LVAlert();
    // The list grows at the top; rebuilding keeps it identical to the model whatever changed.
    LVAlert_->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const auto& row : rows)
        items.append(new QTreeWidgetItem(QStringList{qs(row.level), qs(row.time), qs(row.action)}));
    LVAlert_->addTopLevelItems(items);
}

void AlertsLogPage::refresh()
{
    const auto& app = model_.app();
    txtAmt_->setText(qs(app.form1.txtAmt));
    quietly(chkLog_, [&](QCheckBox& c) { c.setChecked(app.settings.chkLog == 1); });
    quietly(chkAutoSave_, [&](QCheckBox& c) { c.setChecked(app.settings.chkAutoSave == 1); });
    if (static_cast<std::size_t>(LVAlert_->topLevelItemCount()) != app.log.LVAlert().size())
        refreshAlerts();
}

} // namespace volmara
