#include "ui/drive_info/dlg_drive_info.h"

#include "driveinfo/drive_attributes.h"
#include "ui/binding.h"
#include "ui/drive_info/dump_cells.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPieSeries>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QValueAxis>
#include <QVBoxLayout>

#include <memory>

namespace volmara {

namespace {

using Change = DriveInfoModel::Change;

// The dialog's sizes are given in twips, 1440 to the logical inch.
int twips(const QWidget& w, int value) { return value * w.logicalDpiX() / 1440; }

// The core's dumps end their lines with CR LF; the text boxes break lines on LF alone.
QString dumpText(const std::string& dump) { return qs(dump).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

// A category axis merges equal labels, which would shift every later bar onto the wrong entry:
// a repeated entry text gets trailing blanks, which draw as the same text.
QString distinctCategory(const std::string& label, const QStringList& taken)
{
    QString category = qs(label);
    while (taken.contains(category))
        category += QLatin1Char(' ');
    return category;
}

// The dumps line up only in a font whose glyphs really are all one width; some families the
// desktop offers for "monospace" do not report themselves so, and are passed over.
QFont fixedPitchFont()
{
    for (const char* family : {"Courier New", "DejaVu Sans Mono", "Liberation Mono"}) {
        QFont font(QString::fromLatin1(family));
        font.setStyleHint(QFont::TypeWriter);
        if (QFontInfo(font).fixedPitch())
            return font;
    }
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

QPlainTextEdit* dumpBox(const char* name, QWidget* parent)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setFont(fixedPitchFont());
    return box;
}

void fillDriveChoice(QComboBox* combo, const DriveChoice& choice)
{
    quietly(combo, [&](QComboBox& c) {
        c.clear();
        for (const std::string& drive : choice.drives)
            c.addItem(qs(drive));
        c.setCurrentIndex(choice.selected ? static_cast<int>(*choice.selected) : -1);
    });
}

} // namespace

DlgDriveInfo& DlgDriveInfo::showFor(DriveInfoModel& model, QWidget& owner)
{
    DlgDriveInfo* window = nullptr;
    for (DlgDriveInfo* child : owner.findChildren<DlgDriveInfo*>(Qt::FindDirectChildrenOnly)) {
        if (!child->unloaded_)
            window = child;
    }
    if (!window)
        window = new DlgDriveInfo(model, &owner);
    model.show();
    return *window;
}

DlgDriveInfo::DlgDriveInfo(DriveInfoModel& model, QWidget* parent) : QDialog(parent), model_(model)
{
    setObjectName(QStringLiteral("dlgDriveInfo"));
    setWindowTitle(qs(kDlgDriveInfoCaption));
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    Combo1_ = new QComboBox(this);
    Combo1_->setObjectName(QStringLiteral("Combo1"));
    for (const std::string_view item : kCombo1Items)
        Combo1_->addItem(qs(item));
    layout->addWidget(Combo1_);
    lblDesc_ = new QLabel(this);
    lblDesc_->setObjectName(QStringLiteral("lblDesc"));
    layout->addWidget(lblDesc_);

    // One area for the four pages, in `Combo1` order; only the current one is visible.
    pageArea_ = new QStackedWidget(this);
    pageArea_->addWidget(buildChart(0));
    pageArea_->addWidget(buildChart(1));
    pageArea_->addWidget(buildPartitionPage());
    pageArea_->addWidget(buildAttributePage());
    layout->addWidget(pageArea_, 1);

    auto* bottom = new QHBoxLayout;
    auto* lblHelp = new QLabel(qs(kHelpCaption), this);
    lblHelp->setObjectName(QStringLiteral("lblHelp"));
    bottom->addWidget(lblHelp);
    bottom->addStretch();
    auto* cmdOK = new QPushButton(qs(kOkCaption), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    bottom->addWidget(cmdOK);
    layout->addLayout(bottom);

    connect(Combo1_, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(kCombo1Items.size()))
            guarded("Combo1", [&] { model_.Combo1_Click(static_cast<DriveInfoPage>(index)); });
    });
    connect(drvDrive_, &QComboBox::activated, this, [this](int index) {
        if (index >= 0)
            guarded("drvDrive", [&] { model_.drvDrive_Change(static_cast<std::size_t>(index)); });
    });
    connect(cboDrives_, &QComboBox::activated, this, [this](int index) {
        if (index >= 0)
            guarded("cboDrives", [&] { model_.cboDrives_Click(static_cast<std::size_t>(index)); });
    });
    connect(cmdOK, &QPushButton::clicked, this, [this] { guarded("cmdOK", [&] { model_.cmdOK_Click(); }); });

    model_.setListener([self = QPointer<DlgDriveInfo>(this)](Change change) {
        if (self)
            self->onChange(change);
    });
    resize(twips(*this, 9600), twips(*this, 7200));
    showPage();
    showPartitionDrives();
    showPartition();
    showAttributeDrives();
    showAttributes();
}

QWidget* DlgDriveInfo::buildChart(int index)
{
    auto* view = new QChartView(this);
    view->setObjectName(QStringLiteral("MSChart1_%1").arg(index));
    view->setRenderHint(QPainter::Antialiasing);
    MSChart1_[static_cast<std::size_t>(index)] = view;
    return view;
}

QWidget* DlgDriveInfo::buildPartitionPage()
{
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("frmPart"));
    auto* layout = new QVBoxLayout(frame);

    auto* driveRow = new QHBoxLayout;
    driveRow->addWidget(new QLabel(qs(kPartitionCaption), frame));
    drvDrive_ = new QComboBox(frame);
    drvDrive_->setObjectName(QStringLiteral("drvDrive"));
    driveRow->addWidget(drvDrive_, 1);
    layout->addLayout(driveRow);

    auto* fraPartInfo = new QGroupBox(qs(kPartInfoCaption), frame);
    fraPartInfo->setObjectName(QStringLiteral("fraPartInfo"));
    auto* infoLayout = new QVBoxLayout(fraPartInfo);
    lvInfo_ = new QTreeWidget(fraPartInfo);
    lvInfo_->setObjectName(QStringLiteral("lvInfo"));
    lvInfo_->setColumnCount(2);
    lvInfo_->setHeaderLabels({qs(kLvInfoHeaders[0]), qs(kLvInfoHeaders[1])});
    lvInfo_->setRootIsDecorated(false);
    lvInfo_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    infoLayout->addWidget(lvInfo_);
    layout->addWidget(fraPartInfo, 1);

    layout->addWidget(new QLabel(qs(kFirstBytesCaption), frame));
    auto* dumps = new QHBoxLayout;
    txtBytes_ = dumpBox("txtBytes", frame);
    txtChar_ = dumpBox("txtChar", frame);
    dumps->addWidget(txtBytes_, 3);
    dumps->addWidget(txtChar_, 1);
    layout->addLayout(dumps, 1);
    return frame;
}

QWidget* DlgDriveInfo::buildAttributePage()
{
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("frmAD"));
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(new QLabel(qs(kAvailableDrivesCaption), frame));
    cboDrives_ = new QComboBox(frame);
    cboDrives_->setObjectName(QStringLiteral("cboDrives"));
    layout->addWidget(cboDrives_);

    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < lblInfo_.size(); ++i) {
        const int row = static_cast<int>(i);
        auto* caption = new QLabel(qs(kDriveAttributeCaptions[i]), frame);
        caption->setObjectName(QStringLiteral("lblCaption%1").arg(row));
        lblInfo_[i] = new QLabel(frame);
        lblInfo_[i]->setObjectName(QStringLiteral("lblInfo%1").arg(row));
        grid->addWidget(caption, row, 0);
        grid->addWidget(lblInfo_[i], row, 1);
    }
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addStretch();
    return frame;
}

void DlgDriveInfo::reject()
{
    guarded("dlgDriveInfo", [&] { model_.cmdOK_Click(); });
}

void DlgDriveInfo::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::HelpContents)) {
        guarded("dlgDriveInfo", [&] { model_.showHelp(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

void DlgDriveInfo::onChange(Change change)
{
    switch (change) {
    case Change::Visibility: return showVisibility();
    case Change::Page: return showPage();
    case Change::PartitionDrives: return showPartitionDrives();
    case Change::Partition: return showPartition();
    case Change::AttributeDrives: return showAttributeDrives();
    case Change::Attributes: return showAttributes();
    case Change::Unloaded: return unload();
    }
}

void DlgDriveInfo::showVisibility()
{
    if (!model_.visible()) {
        hide();
        return;
    }
    show();
    raise();
    activateWindow();
}

void DlgDriveInfo::showPage()
{
    const DriveInfoPage page = model_.Combo1();
    quietly(Combo1_, [&](QComboBox& c) { c.setCurrentIndex(static_cast<int>(page)); });
    lblDesc_->setText(qs(model_.lblDesc()));
    if (page == DriveInfoPage::FreeSpaceByDrives)
        showFreeSpaceChart();
    else if (page == DriveInfoPage::TotalFreeSpaceDistribution)
        showDistributionChart();
    pageArea_->setCurrentIndex(static_cast<int>(page));
}

void DlgDriveInfo::showFreeSpaceChart()
{
    auto* freeSet = new QBarSet(qs(kFreeSpaceSeries));
    auto* totalSet = new QBarSet(qs(kTotalSpaceSeries));
    QStringList categories;
    for (const FreeSpaceBar& row : model_.freeSpaceChart()) {
        *freeSet << row.freeMb;
        *totalSet << row.totalMb;
        categories << distinctCategory(row.label, categories);
    }
    auto* series = new QBarSeries;
    series->append(freeSet);
    series->append(totalSet);

    auto* chart = new QChart;
    chart->addSeries(series);
    auto* categoryAxis = new QBarCategoryAxis;
    categoryAxis->append(categories);
    categoryAxis->setTitleText(qs(kCategoryAxisTitle));
    chart->addAxis(categoryAxis, Qt::AlignBottom);
    series->attachAxis(categoryAxis);
    auto* valueAxis = new QValueAxis;
    valueAxis->setTitleText(qs(kValueAxisTitle));
    chart->addAxis(valueAxis, Qt::AlignLeft);
    series->attachAxis(valueAxis);
    chart->legend()->setVisible(true);
    replaceChart(0, chart);
}

void DlgDriveInfo::showDistributionChart()
{
    const DistributionChart& distribution = model_.distributionChart();
    auto* series = new QPieSeries;
    for (const PieSlice& slice : distribution.slices)
        series->append(qs(slice.label), slice.freeKb);

    auto* chart = new QChart;
    chart->addSeries(series);
    chart->setTitle(qs(distribution.title));
    chart->legend()->setVisible(true);
    replaceChart(1, chart);
}

void DlgDriveInfo::replaceChart(int index, QChart* chart)
{
    QChartView* view = MSChart1_[static_cast<std::size_t>(index)];
    // The view gives up the chart it held; the new one is its own.
    const std::unique_ptr<QChart> previous(view->chart());
    view->setChart(chart);
}

void DlgDriveInfo::showPartitionDrives() { fillDriveChoice(drvDrive_, model_.drvDrive()); }

void DlgDriveInfo::showPartition()
{
    lvInfo_->clear();
    for (const InfoRow& row : model_.lvInfo())
        new QTreeWidgetItem(lvInfo_, QStringList{qs(row.name), qs(row.value)});
    txtBytes_->setPlainText(dumpText(model_.txtBytes()));
    txtChar_->setPlainText(dumpCells(dumpText(model_.txtChar()), txtChar_->font()));
}

void DlgDriveInfo::showAttributeDrives() { fillDriveChoice(cboDrives_, model_.cboDrives()); }

void DlgDriveInfo::showAttributes()
{
    const auto& values = model_.lblInfo();
    for (std::size_t i = 0; i < values.size(); ++i)
        lblInfo_[i]->setText(qs(values[i]));
}

void DlgDriveInfo::unload()
{
    unloaded_ = true;
    model_.setListener({});
    hide();
    deleteLater();
}

} // namespace volmara
