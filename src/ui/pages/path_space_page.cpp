#include "ui/pages/path_space_page.h"

#include "core/response_lists.h"

#include "core/form1_model.h"
#include "ui/binding.h"
#include "ui/up_down.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace volmara {

namespace {

void setTextIfChanged(QLineEdit& edit, const std::string& text)
{
    const auto value = qs(text);
    if (edit.text() != value)
        edit.setText(value);
}

} // namespace

PathSpacePage::PathSpacePage(Form1Model& model, QWidget* parent) : QWidget(parent), model_(model)
{
    setObjectName(QStringLiteral("fr1"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildFileTypes());
    layout->addWidget(buildTrigger());
    layout->addWidget(buildPathToMove());
    layout->addStretch();
    refreshOn(model_.app().form1, this, [](PathSpacePage& p) { p.refresh(); });
    refresh();
}

QWidget* PathSpacePage::buildFileTypes()
{
    auto* frame = new QGroupBox(QStringLiteral("Specified File Type(s)"), this);
    auto* layout = new QVBoxLayout(frame);
    txtFileType_ = new QLineEdit(frame);
    txtFileType_->setObjectName(QStringLiteral("txtFileType"));
    layout->addWidget(txtFileType_);
    layout->addWidget(new QLabel(QStringLiteral("Input File types like so: .avi|.mp3|.txt|.tmp"), frame));
    connect(txtFileType_, &QLineEdit::textEdited, this,
            [this](const QString& text) { model_.app().settings.txtFileType = text.toStdString(); });
    return frame;
}

QWidget* PathSpacePage::buildTrigger()
{
    auto* frame = new QGroupBox(QStringLiteral("Specifed Drive Space"), this);
    auto* grid = new QGridLayout(frame);

    OpDriv_ = new QButtonGroup(frame);
    auto* byKb = new QRadioButton(QStringLiteral("By Size in (KB)"), frame);
    auto* byPercent = new QRadioButton(QStringLiteral("By %"), frame);
    byKb->setObjectName(QStringLiteral("OpDriv0"));
    byPercent->setObjectName(QStringLiteral("OpDriv1"));
    OpDriv_->addButton(byKb, 0);
    OpDriv_->addButton(byPercent, 1);
    grid->addWidget(byKb, 0, 0);
    grid->addWidget(byPercent, 0, 1);
    connect(OpDriv_, &QButtonGroup::idClicked, this,
            [this](int option) { guarded("OpDriv", [&] { model_.setTriggerUnit(option); }); });

    Slider1_ = new QSlider(Qt::Horizontal, frame);
    Slider1_->setObjectName(QStringLiteral("Slider1"));
    Slider1_->setRange(0, 100);
    grid->addWidget(Slider1_, 1, 0, 1, 3);
    connect(Slider1_, &QSlider::valueChanged, this,
            [this](int value) { guarded("Slider1", [&] { model_.setSlider(value); }); });

    chkDrive_ = new QCheckBox(QStringLiteral("Set Size Individually"), frame);
    chkDrive_->setObjectName(QStringLiteral("chkDrive"));
    grid->addWidget(chkDrive_, 2, 0, 1, 3);
    connect(chkDrive_, &QCheckBox::clicked, this,
            [this](bool on) { guarded("chkDrive", [&] { model_.setPerEntryTriggers(on); }); });

    grid->addWidget(new QLabel(QStringLiteral("Minimum Space to Trigger Action"), frame), 3, 0, 1, 3);
    auto* spaceRow = new QHBoxLayout;
    txtSpace_ = new QLineEdit(frame);
    txtSpace_->setObjectName(QStringLiteral("txtSpace"));
    auto* steps = new UpDown(frame);
    steps->setObjectName(QStringLiteral("txtSpaceUpDown"));
    spaceRow->addWidget(txtSpace_);
    spaceRow->addWidget(steps);
    grid->addLayout(spaceRow, 4, 0);
    connect(txtSpace_, &QLineEdit::textEdited, this,
            [this](const QString& text) { guarded("txtSpace", [&] { model_.txtSpaceChanged(text.toStdString()); }); });
    connect(steps, &UpDown::up, this, [this] { guarded("txtSpace", [&] { model_.txtSpaceStep(1); }); });
    connect(steps, &UpDown::down, this, [this] { guarded("txtSpace", [&] { model_.txtSpaceStep(-1); }); });

    lblSpaceMB_ = new QLabel(frame);
    lblSpaceGB_ = new QLabel(frame);
    lblSpaceMB_->setObjectName(QStringLiteral("lblSpaceMB"));
    lblSpaceGB_->setObjectName(QStringLiteral("lblSpaceGB"));
    grid->addWidget(lblSpaceMB_, 4, 1);
    grid->addWidget(lblSpaceGB_, 4, 2);
    return frame;
}

QWidget* PathSpacePage::buildPathToMove()
{
    auto* frame = new QGroupBox(QStringLiteral("Specified Path to Move"), this);
    frame->setObjectName(QStringLiteral("Frame5"));
    auto* layout = new QVBoxLayout(frame);
    txtDrive_ = new QLineEdit(frame);
    txtDrive_->setObjectName(QStringLiteral("txtDrive"));
    layout->addWidget(txtDrive_);
    connect(txtDrive_, &QLineEdit::textEdited, this,
            [this](const QString& text) { model_.app().settings.txtDrive = text.toStdString(); });
    return frame;
}

void PathSpacePage::refresh()
{
    const auto& form = model_.app().form1;
    const auto& settings = model_.app().settings;
    setTextIfChanged(*txtFileType_, settings.txtFileType);
    quietly(OpDriv_, [&](QButtonGroup& g) {
        if (auto* b = g.button(form.OpDriv); b && !b->isChecked())
            b->setChecked(true);
    });
    quietly(Slider1_, [&](QSlider& s) {
        s.setVisible(form.sliderVisible);
        s.setValue(form.Slider1);
    });
    quietly(chkDrive_, [&](QCheckBox& c) { c.setChecked(form.chkDrive == 1); });
    setTextIfChanged(*txtSpace_, settings.txtSpace);
    txtSpace_->setEnabled(form.txtSpaceEnabled);
    lblSpaceMB_->setText(qs(form.lblSpaceMB));
    lblSpaceGB_->setText(qs(form.lblSpaceGB));
    setTextIfChanged(*txtDrive_, settings.txtDrive);
    // The move destination matters only while the move response is ticked.
    txtDrive_->setEnabled(model_.app().lstAct[kActMove]);
}

} // namespace volmara
