#include "ui/specified/specified_programs_page.h"

#include "alerts/specified_programs.h"
#include "core/app_state.h"
#include "ui/binding.h"
#include "ui/link_label.h"
#include "ui/specified/file_drop.h"
#include "ui/specified/row_list_view.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace volmara {

SpecifiedProgramsPage::SpecifiedProgramsPage(AppState& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(QStringLiteral("fr0"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* frame = new QGroupBox(QStringLiteral("Specified Program(s)"), this);
    outer->addWidget(frame);
    auto* layout = new QVBoxLayout(frame);

    layout->addWidget(new QLabel(QStringLiteral("Listing of File(s) to be executed on Minimum Space Trigger"), frame));
    cboProg_ = new QComboBox(frame);
    cboProg_->setObjectName(QStringLiteral("cboProg"));
    cboProg_->setEditable(true);
    cboProg_->setInsertPolicy(QComboBox::NoInsert);
    layout->addWidget(cboProg_);
    connect(cboProg_, &QComboBox::editTextChanged, this,
            [this](const QString& text) { app_.cboProgText = text.toStdString(); });
    FileDrop::install(*cboProg_->lineEdit(), [this](std::vector<std::string> paths) { cboProg_Drop(app_, std::move(paths)); });

    layout->addWidget(buildCommands());

    LVProg_ = makeRowListView(frame, QStringLiteral("LVProg"), kLVProgHeaders);
    layout->addWidget(LVProg_, 1);
    connect(LVProg_, &QTreeWidget::itemSelectionChanged, this, [this] { app_.LVProg.select(selectedRowId(*LVProg_)); });
    connect(LVProg_->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { guarded("LVProg", [&] { LVProg_ColumnClick(app_, column); }); });
    FileDrop::install(*LVProg_->viewport(), [this](std::vector<std::string> paths) { LVProg_Drop(app_, std::move(paths)); });

    refreshOn(app_.LVProg, this, [](SpecifiedProgramsPage& p) { p.refresh(); });
    refresh();
}

QWidget* SpecifiedProgramsPage::buildCommands()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (std::size_t i = 0; i < kLabel5.size(); ++i) {
        auto* label = new LinkLabel(qs(kLabel5[i]), qs(kLabel5[i]), row);
        label->setObjectName(QStringLiteral("Label5_%1").arg(i));
        layout->addWidget(label);
        connect(label, &LinkLabel::clicked, this,
                [this, i] { guarded("Label5", [&] { Label5_Click(app_, static_cast<int>(i)); }); });
    }
    layout->addStretch();
    return row;
}

void SpecifiedProgramsPage::refresh()
{
    showRows(*LVProg_, app_.LVProg, static_cast<int>(kLVProgHeaders.size()));
    quietly(cboProg_, [&](QComboBox& box) {
        QStringList history;
        for (const auto& path : app_.cboProg)
            history << qs(path);
        QStringList shown;
        for (int i = 0; i < box.count(); ++i)
            shown << box.itemText(i);
        if (shown != history) {
            box.clear();
            box.addItems(history);
        }
        const auto text = qs(app_.cboProgText);
        if (box.currentText() != text)
            box.setEditText(text);
    });
}

} // namespace volmara
