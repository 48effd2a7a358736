#include "ui/specified/specified_files_page.h"

#include "alerts/specified_files.h"
#include "core/app_state.h"
#include "ui/binding.h"
#include "ui/link_label.h"
#include "ui/specified/file_drop.h"
#include "ui/specified/row_list_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace volmara {

SpecifiedFilesPage::SpecifiedFilesPage(AppState& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(QStringLiteral("fr2"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* frame = new QGroupBox(QStringLiteral("Specified File(s)"), this);
    outer->addWidget(frame);
    auto* layout = new QVBoxLayout(frame);

    cboFile_ = new QComboBox(frame);
    cboFile_->setObjectName(QStringLiteral("cboFile"));
    cboFile_->setEditable(true);
    cboFile_->setInsertPolicy(QComboBox::NoInsert);
    layout->addWidget(cboFile_);
    connect(cboFile_, &QComboBox::editTextChanged, this,
            [this](const QString& text) { app_.cboFileText = text.toStdString(); });
    FileDrop::install(*cboFile_->lineEdit(), [this](std::vector<std::string> paths) { cboFile_Drop(app_, std::move(paths)); });

    layout->addWidget(buildCommands());

    LVFile_ = makeRowListView(frame, QStringLiteral("LVFile"), kLVFileHeaders);
    layout->addWidget(LVFile_, 1);
    connect(LVFile_, &QTreeWidget::itemSelectionChanged, this, [this] { app_.LVFile.select(selectedRowId(*LVFile_)); });
    connect(LVFile_->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { guarded("LVFile", [&] { LVFile_ColumnClick(app_, column); }); });
    FileDrop::install(*LVFile_->viewport(), [this](std::vector<std::string> paths) { LVFile_Drop(app_, std::move(paths)); });

    layout->addWidget(buildPathToMove());

    refreshOn(app_.LVFile, this, [](SpecifiedFilesPage& p) { p.refreshList(); });
    refreshOn(app_.form1, this, [](SpecifiedFilesPage& p) { p.refreshForm(); });
    refreshList();
    refreshForm();
}

QWidget* SpecifiedFilesPage::buildCommands()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (std::size_t i = 0; i < kLblSF.size(); ++i) {
        auto* label = new LinkLabel(qs(kLblSF[i]), qs(kLblSF[i]), row);
        label->setObjectName(QStringLiteral("lblSF%1").arg(i));
        layout->addWidget(label);
        connect(label, &LinkLabel::clicked, this,
                [this, i] { guarded("lblSF", [&] { lblSF_Click(app_, static_cast<int>(i)); }); });
    }
    layout->addStretch();
    return row;
}

QWidget* SpecifiedFilesPage::buildPathToMove()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    chkSeq_ = new QCheckBox(QStringLiteral("Sequential Action"), row);
    chkSeq_->setObjectName(QStringLiteral("chkSeq"));
    layout->addWidget(chkSeq_);
    connect(chkSeq_, &QCheckBox::toggled, this, [this](bool on) { app_.chkSeq = on ? 1 : 0; });

    layout->addWidget(new QLabel(QStringLiteral("Specified Path to Move"), row));
    txtDrive_ = new QLineEdit(row);
    // The same setting as the box of "Path/Space/Types", beside the files it is for.
    txtDrive_->setObjectName(QStringLiteral("txtDriveFiles"));
    layout->addWidget(txtDrive_, 1);
    connect(txtDrive_, &QLineEdit::textEdited, this, [this](const QString& text) {
        app_.settings.txtDrive = text.toStdString();
        app_.form1.notify();
    });
    auto* lblFolder = new LinkLabel(QStringLiteral("(..)"), QStringLiteral("Select Folder/Path"), row);
    lblFolder->setObjectName(QStringLiteral("lblFolder"));
    layout->addWidget(lblFolder);
    connect(lblFolder, &LinkLabel::clicked, this, [this] { guarded("lblFolder", [&] { lblFolder_Click(app_); }); });
    return row;
}

void SpecifiedFilesPage::refreshList()
{
    showRows(*LVFile_, app_.LVFile, static_cast<int>(kLVFileHeaders.size()));
    refreshBox();
    if (app_.LVFile.waitCursor)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void SpecifiedFilesPage::refreshBox()
{
    quietly(cboFile_, [&](QComboBox& box) {
        QStringList history;
        for (const auto& path : app_.cboFile)
            history << qs(path);
        QStringList shown;
        for (int i = 0; i < box.count(); ++i)
            shown << box.itemText(i);
        const auto text = qs(app_.cboFileText);
        if (shown != history) {
            box.clear();
            box.addItems(history);
        }
        if (box.currentText() != text)
            box.setEditText(text);
    });
}

void SpecifiedFilesPage::refreshForm()
{
    const auto text = qs(app_.settings.txtDrive);
    if (txtDrive_->text() != text)
        txtDrive_->setText(text);
    quietly(chkSeq_, [&](QCheckBox& box) { box.setChecked(app_.chkSeq == 1); });
    // The history comes from the settings file, which announces itself through the form.
    refreshBox();
}

} // namespace volmara
