#include "ui/drive_window/frm_ind_dri.h"

#include "ui/binding.h"
#include "ui/drive_window/meter2_widget.h"
#include "ui/drive_window/painter_surface.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace volmara {

namespace {

// The pie's legend and sub-caption reach to about here.
constexpr int kPicPieWidth = 300;
constexpr int kPicPieHeight = 125;
constexpr int kWindowWidthTwips = 8400;

} // namespace

PiePicture::PiePicture(const DriveWindowModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    setObjectName(QStringLiteral("picPie"));
    setFixedSize(kPicPieWidth, kPicPieHeight);
}

void PiePicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    PainterSurface surface(painter, palette());
    model_.drawPie(surface);
}

FrmIndDri& FrmIndDri::ensureFor(DriveWindowModel& model, QWidget& owner)
{
    if (auto* window = owner.findChild<FrmIndDri*>(QString(), Qt::FindDirectChildrenOnly))
        return *window;
    return *new FrmIndDri(model, &owner);
}

FrmIndDri::FrmIndDri(DriveWindowModel& model, QWidget* parent) : QWidget(parent, Qt::Window), model_(model)
{
    setObjectName(QStringLiteral("frmIndDri"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildTop());
    lower_ = buildLower();
    layout->addWidget(lower_, 1);
    layout->addStretch(); // the short view keeps its top row at the top
    resize(twips(kWindowWidthTwips), twips(model_.Height()));

    refreshOn(model_, this, [](FrmIndDri& w) { w.refresh(); });
    focusRequests_ = model_.text1FocusRequests();
    refresh();
}

int FrmIndDri::twips(int value) const { return value * logicalDpiX() / 1440; }

QWidget* FrmIndDri::buildTop()
{
    auto* top = new QWidget(this);
    auto* layout = new QGridLayout(top);
    layout->setContentsMargins(0, 0, 0, 0);

    Combo1_ = new QComboBox(top);
    Combo1_->setObjectName(QStringLiteral("Combo1"));
    layout->addWidget(Combo1_, 0, 0, 1, 2);
    cmdToggle_ = new QPushButton(qs(kCmdToggleCaption), top);
    cmdToggle_->setObjectName(QStringLiteral("cmdToggle"));
    cmdToggle_->setToolTip(qs(kCmdToggleToolTip));
    cmdToggle_->setFixedWidth(cmdToggle_->sizeHint().height());
    layout->addWidget(cmdToggle_, 0, 2);

    picPie_ = new PiePicture(model_, top);
    layout->addWidget(picPie_, 1, 0, Qt::AlignTop);
    lblP_ = new QLabel(qs(kLoadingText), picPie_);
    lblP_->setObjectName(QStringLiteral("lblP"));
    lblP_->move(8, kPicPieHeight / 2);
    lblP_->adjustSize();

    ListView1_ = new QTreeWidget(top);
    ListView1_->setObjectName(QStringLiteral("ListView1"));
    ListView1_->setColumnCount(2);
    ListView1_->setHeaderLabels({qs(kIndDriListHeaders[0]), qs(kIndDriListHeaders[1])});
    ListView1_->setRootIsDecorated(false);
    ListView1_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    ListView1_->setFixedHeight(kPicPieHeight);
    layout->addWidget(ListView1_, 1, 1, 1, 2);
    layout->setColumnStretch(1, 1);

    connect(cmdToggle_, &QPushButton::clicked, this, [this] { guarded("cmdToggle", [&] { model_.cmdToggle_Click(); }); });
    return top;
}

QWidget* FrmIndDri::buildLower()
{
    auto* lower = new QWidget(this);
    lower->setObjectName(QStringLiteral("fraLower"));
    auto* layout = new QVBoxLayout(lower);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* gauges = new QHBoxLayout;
    VMeter1_ = new Meter2Widget(model_.VMeter1(), lower);
    VMeter1_->setObjectName(QStringLiteral("VMeter1"));
    VMeter2_ = new Meter2Widget(model_.VMeter2(), lower);
    VMeter2_->setObjectName(QStringLiteral("VMeter2"));
    gauges->addWidget(VMeter1_, 0, Qt::AlignTop);
    gauges->addWidget(VMeter2_, 0, Qt::AlignTop);

    VScroll1_ = new QScrollBar(Qt::Vertical, lower);
    VScroll1_->setObjectName(QStringLiteral("VScroll1"));
    VScroll1_->setRange(0, 100);
    VScroll1_->setFixedHeight(VMeter1_->height());
    gauges->addWidget(VScroll1_, 0, Qt::AlignTop);

    auto* alert = new QVBoxLayout;
    auto* label1 = new QLabel(qs(kLabel1Caption), lower);
    label1->setObjectName(QStringLiteral("Label1"));
    alert->addWidget(label1);
    Text1_ = new QLineEdit(lower);
    Text1_->setObjectName(QStringLiteral("Text1"));
    alert->addWidget(Text1_);
    for (std::size_t i = 0; i < Option1_.size(); ++i) {
        Option1_[i] = new QRadioButton(qs(kOption1Captions[i]), lower);
        Option1_[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        alert->addWidget(Option1_[i]);
        connect(Option1_[i], &QRadioButton::clicked, this,
                [this, i] { guarded("Option1", [&] { model_.Option1_Click(static_cast<int>(i)); }); });
    }
    for (std::size_t i = 0; i < ProgressBar1_.size(); ++i) {
        ProgressBar1_[i] = new QProgressBar(lower);
        ProgressBar1_[i]->setObjectName(QStringLiteral("ProgressBar1_%1").arg(i));
        ProgressBar1_[i]->setRange(0, 100);
        alert->addWidget(ProgressBar1_[i]);
    }
    alert->addStretch();
    gauges->addLayout(alert, 1);
    layout->addLayout(gauges);

    auto* buttons = new QHBoxLayout;
    Check1_ = new QCheckBox(qs(kCheck1Caption), lower);
    Check1_->setObjectName(QStringLiteral("Check1"));
    Check1_->setToolTip(qs(kCheck1ToolTip));
    buttons->addWidget(Check1_);
    buttons->addStretch();
    auto* command3 = new QPushButton(qs(kCommand3Caption), lower);
    command3->setObjectName(QStringLiteral("Command3"));
    buttons->addWidget(command3);
    auto* cmdC = new QPushButton(qs(kCmdCCaption), lower);
    cmdC->setObjectName(QStringLiteral("cmdC"));
    buttons->addWidget(cmdC);
    layout->addLayout(buttons);
    layout->addStretch();

    connect(VScroll1_, &QScrollBar::valueChanged, this,
            [this](int value) { guarded("VScroll1", [&] { model_.VScroll1_Change(value); }); });
    connect(Text1_, &QLineEdit::textEdited, this,
            [this](const QString& text) { guarded("Text1", [&] { model_.Text1_Change(text.toStdString()); }); });
    connect(Check1_, &QCheckBox::clicked, this,
            [this](bool checked) { guarded("Check1", [&] { model_.Check1_Click(checked ? 1 : 0); }); });
    connect(command3, &QPushButton::clicked, this, [this] { guarded("Command3", [&] { model_.Command3_Click(); }); });
    connect(cmdC, &QPushButton::clicked, this, [this] { guarded("cmdC", [&] { model_.cmdC_Click(); }); });
    return lower;
}

void FrmIndDri::refresh()
{
    setWindowTitle(qs(model_.Caption()));
    quietly(Combo1_, [&](QComboBox& c) {
        if (c.count() != 1 || c.itemText(0) != qs(model_.Combo1())) {
            c.clear();
            c.addItem(qs(model_.Combo1()));
        }
    });
    refreshList();
    quietly(VScroll1_, [&](QScrollBar& bar) { bar.setValue(model_.VScroll1()); });
    // Typing is not interrupted: the text is set only when the model's differs.
    if (Text1_->text() != qs(model_.Text1()))
        quietly(Text1_, [&](QLineEdit& edit) { edit.setText(qs(model_.Text1())); });
    for (std::size_t i = 0; i < Option1_.size(); ++i)
        quietly(Option1_[i], [&](QRadioButton& b) { b.setChecked(model_.Option1() == static_cast<int>(i)); });
    for (std::size_t i = 0; i < ProgressBar1_.size(); ++i)
        ProgressBar1_[i]->setValue(model_.ProgressBar1()[i]);
    quietly(Check1_, [&](QCheckBox& c) { c.setChecked(model_.Check1() == 1); });
    lblP_->setVisible(model_.lblPVisible());
    picPie_->update();

    const bool tall = model_.Height() == DriveWindowModel::kTallHeight;
    lower_->setVisible(tall);
    setFixedHeight(twips(model_.Height()));

    if (model_.text1FocusRequests() != focusRequests_) {
        focusRequests_ = model_.text1FocusRequests();
        Text1_->setFocus(Qt::OtherFocusReason);
    }
    // Shown again by every refresh, but brought forward only when it was hidden.
    if (!model_.visible()) {
        shown_ = false;
        hide();
    } else if (!shown_ || !isVisible()) {
        shown_ = true;
        show();
        raise();
        activateWindow();
    }
}

void FrmIndDri::refreshList()
{
    const auto& rows = model_.ListView1();
    ListView1_->clear();
    for (const PropertyRow& row : rows)
        new QTreeWidgetItem(ListView1_, QStringList{qs(row.name), qs(row.value)});
}

void FrmIndDri::closeEvent(QCloseEvent* event)
{
    guarded("frmIndDri", [&] { model_.Form_Unload(); });
    event->accept();
}

} // namespace volmara
