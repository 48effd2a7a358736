#include "ui/wizard/wizard_pages.h"

#include "ui/binding.h"
#include "wizard/wizard_model.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace volmara {

namespace {

constexpr std::string_view kHelperFrame = "If you are unsure, the following ques. may help";

QLabel* explanation(std::string_view text, QWidget* parent)
{
    auto* label = new QLabel(qs(text), parent);
    label->setWordWrap(true);
    return label;
}

QPushButton* button(std::string_view caption, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(qs(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QTime toQTime(const DateTime& t) { return QTime(t.hour, t.minute, t.second); }

DateTime withTime(DateTime value, const QTime& time)
{
    value.hour = time.hour();
    value.minute = time.minute();
    value.second = time.second();
    return value;
}

QTimeEdit* timePicker(const QString& name, QWidget* parent)
{
    auto* picker = new QTimeEdit(parent);
    picker->setObjectName(name);
    picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return picker;
}

void showTime(QTimeEdit* picker, const DateTime& value)
{
    if (picker->time() != toQTime(value))
        quietly(picker, [&](QTimeEdit& p) { p.setTime(toQTime(value)); });
}

void showText(QLineEdit* box, const std::string& text)
{
    if (box->text() != qs(text))
        quietly(box, [&](QLineEdit& b) { b.setText(qs(text)); });
}

} // namespace

WizardPage::WizardPage(WizardModel& model, QWidget* parent)
    : QGroupBox(QStringLiteral("Prog Option"), parent), model_(model)
{
    setObjectName(QStringLiteral("Frame1"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, QColor(255, 255, 255));
    setPalette(white);
}

void WizardPage::mousePressEvent(QMouseEvent* event)
{
    guarded("Frame1", [&] { model_.pagePressed(); });
    QGroupBox::mousePressEvent(event);
}

// --- page 0 --------------------------------------------------------------------------------------

SpacePage::SpacePage(WizardModel& model, QWidget* parent) : WizardPage(model, parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* helper = new QGroupBox(qs(kHelperFrame), this);
    auto* helperLayout = new QVBoxLayout(helper);
    helperLayout->addWidget(new QLabel(QStringLiteral("What kind of files do you use often?"), helper));
    for (int k = 0; k < 3; ++k) {
        auto* box = new QCheckBox(qs(kChkopCaptions[static_cast<std::size_t>(k)]), helper);
        box->setObjectName(QStringLiteral("chkop%1").arg(k));
        connect(box, &QCheckBox::clicked, this, [this, k](bool ticked) { guarded("chkop", [&] { model_.chkop_Click(k, ticked); }); });
        helperLayout->addWidget(box);
        chkop_[static_cast<std::size_t>(k)] = box;
    }
    layout->addWidget(helper);

    auto* row = new QHBoxLayout;
    for (int o = 0; o < 2; ++o) {
        auto* option = new QRadioButton(qs(kWizardOpDrivCaptions[static_cast<std::size_t>(o)]), this);
        option->setObjectName(QStringLiteral("OpDriv%1").arg(o));
        connect(option, &QRadioButton::clicked, this, [this, o] { guarded("OpDriv", [&] { model_.OpDriv_Click(o); }); });
        row->addWidget(option);
        OpDriv_[static_cast<std::size_t>(o)] = option;
    }
    row->addWidget(new QLabel(QStringLiteral("Size in (KB) or Percentage "), this));
    txtFreeSpace_ = new QLineEdit(this);
    txtFreeSpace_->setObjectName(QStringLiteral("txtFreeSpace"));
    connect(txtFreeSpace_, &QLineEdit::textEdited, this, [this](const QString& text) {
        guarded("txtFreeSpace", [&] { model_.txtFreeSpaceEdited(text.toStdString()); });
    });
    row->addWidget(txtFreeSpace_);
    layout->addLayout(row);
    layout->addWidget(explanation("Here you specify the Minimum Amount of Space or Percentage of free space that the "
                                  "Program must watch for when free space drops below that.  ",
                                  this));
    layout->addStretch(1);
}

void SpacePage::refresh()
{
    const auto& a = model_.answers();
    for (std::size_t k = 0; k < chkop_.size(); ++k)
        quietly(chkop_[k], [&](QCheckBox& b) { b.setChecked(a.chkop[k]); });
    for (std::size_t o = 0; o < OpDriv_.size(); ++o) {
        // Neither is chosen until the user picks one.
        OpDriv_[o]->setAutoExclusive(a.OpDriv.has_value());
        quietly(OpDriv_[o], [&](QRadioButton& b) { b.setChecked(a.OpDriv == static_cast<int>(o)); });
    }
    showText(txtFreeSpace_, a.txtFreeSpace);
}

// --- page 1 --------------------------------------------------------------------------------------

TimingPage::TimingPage(WizardModel& model, QWidget* parent) : WizardPage(model, parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* helper = new QGroupBox(qs(kHelperFrame), this);
    auto* helperLayout = new QVBoxLayout(helper);
    helperLayout->addWidget(explanation(
        "What connection speed do you have?  This will help assess your Volmara settings.", helper));
    for (int o = 0; o < 3; ++o) {
        auto* option = new QRadioButton(qs(kConnectionCaptions[static_cast<std::size_t>(o)]), helper);
        option->setObjectName(QStringLiteral("Option1%1").arg(o));
        connect(option, &QRadioButton::clicked, this, [this, o] { guarded("Option1", [&] { model_.Option1_Click(o); }); });
        helperLayout->addWidget(option);
        Option1_[static_cast<std::size_t>(o)] = option;
    }
    layout->addWidget(helper);

    auto* custom = new QGroupBox(QStringLiteral("Custom Watch Time "), this);
    auto* customLayout = new QGridLayout(custom);
    chkCustTime_ = new QCheckBox(QStringLiteral("Enable Custom Time"), custom);
    chkCustTime_->setObjectName(QStringLiteral("chkCustTime"));
    connect(chkCustTime_, &QCheckBox::clicked, this,
            [this](bool on) { guarded("chkCustTime", [&] { model_.setCustomTime(on); }); });
    customLayout->addWidget(chkCustTime_, 0, 0, 1, 2);
    const std::array<const char*, 2> captions{"&Start Time", "&End Time"};
    for (int i = 0; i < 2; ++i) {
        auto* picker = timePicker(QStringLiteral("DTTime1%1").arg(i), custom);
        auto* label = new QLabel(QString::fromLatin1(captions[static_cast<std::size_t>(i)]), custom);
        label->setBuddy(picker);
        connect(picker, &QTimeEdit::timeChanged, this, [this] { customTimesEdited(); });
        customLayout->addWidget(label, i + 1, 0);
        customLayout->addWidget(picker, i + 1, 1);
        DTTime1_[static_cast<std::size_t>(i)] = picker;
    }
    layout->addWidget(custom);

    auto* interval = new QGroupBox(QStringLiteral("Time Interval (sec)"), this);
    auto* intervalLayout = new QHBoxLayout(interval);
    DTPicker1_ = timePicker(QStringLiteral("DTPicker1"), interval);
    connect(DTPicker1_, &QTimeEdit::timeChanged, this, [this] { intervalEdited(); });
    intervalLayout->addWidget(DTPicker1_);
    layout->addWidget(interval);
    layout->addWidget(explanation("Here You specify the Timing Option. The interval sets how often the listed "
                                  "drives and paths are checked; the custom watch time keeps the watch to the hours "
                                  "between its start and its end.",
                                  this));
    layout->addStretch(1);
}

void TimingPage::intervalEdited()
{
    const auto t = DTPicker1_->time();
    guarded("DTPicker1", [&] { model_.setInterval(t.hour(), t.minute(), t.second()); });
}

void TimingPage::customTimesEdited()
{
    const auto& current = model_.answers().DTTime1;
    guarded("DTTime1", [&] {
        model_.setCustomTimes(withTime(current[0], DTTime1_[0]->time()), withTime(current[1], DTTime1_[1]->time()));
    });
}

void TimingPage::refresh()
{
    const auto& a = model_.answers();
    for (std::size_t o = 0; o < Option1_.size(); ++o) {
        Option1_[o]->setAutoExclusive(a.Option1.has_value());
        quietly(Option1_[o], [&](QRadioButton& b) { b.setChecked(a.Option1 == static_cast<int>(o)); });
    }
    quietly(chkCustTime_, [&](QCheckBox& b) { b.setChecked(a.chkCustTime == 1); });
    for (std::size_t i = 0; i < DTTime1_.size(); ++i)
        showTime(DTTime1_[i], a.DTTime1[i]);
    showTime(DTPicker1_, a.DTPicker1);
}

// --- pages 2 and 6 --------------------------------------------------------------------------------

PathListPage::PathListPage(WizardModel& model, WizardList which, QWidget* parent)
    : WizardPage(model, parent), which_(which)
{
    const bool files = which == WizardList::Files;
    auto* layout = new QVBoxLayout(this);
    auto* explore = button("Open Explorer", files ? "Command1" : "Command5", this);
    connect(explore, &QPushButton::clicked, this, [this] { guarded("Open Explorer", [&] { model_.openExplorer(); }); });
    layout->addWidget(explore, 0, Qt::AlignLeft);

    auto* frame = new QGroupBox(QStringLiteral("Specified Files"), this);
    auto* grid = new QGridLayout(frame);
    text_ = new QLineEdit(frame);
    text_->setObjectName(files ? QStringLiteral("cboFile") : QStringLiteral("cboProg"));
    connect(text_, &QLineEdit::textEdited, this, [this](const QString& text) {
        guarded("list text", [&] { model_.setListText(which_, text.toStdString()); });
    });
    items_ = new QListWidget(frame);
    items_->setObjectName(files ? QStringLiteral("cboFileItems") : QStringLiteral("cboProgItems"));
    connect(items_, &QListWidget::currentRowChanged, this, [this](int row) {
        guarded("list selection", [&] {
            model_.selectItem(which_, row < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(row)));
        });
    });
    auto* add = button("Add", files ? "Command2" : "cmdPAdd", frame);
    auto* browse = button("...", files ? "Command4" : "cmdSel", frame);
    auto* remove = button("Remove", files ? "Command3" : "cmdPRem", frame);
    connect(add, &QPushButton::clicked, this, [this] { guarded("Add", [&] { model_.addToList(which_); }); });
    connect(browse, &QPushButton::clicked, this, [this] { guarded("...", [&] { model_.browseForList(which_); }); });
    connect(remove, &QPushButton::clicked, this, [this] { guarded("Remove", [&] { model_.removeFromList(which_); }); });
    grid->addWidget(text_, 0, 0);
    grid->addWidget(browse, 0, 1);
    grid->addWidget(add, 0, 2);
    grid->addWidget(items_, 1, 0, 1, 2);
    grid->addWidget(remove, 1, 2, Qt::AlignTop);
    layout->addWidget(frame);
    layout->addWidget(explanation(
        files ? "Here you will specify the File you want to be use to free space up when the minimum free space is "
                "reached. Type a path, or a folder followed by names each closed by \";\", then click \"Add\"."
              : "Here you will specify the File/Programs you want to be executed when your minimum free space have "
                "been reach.",
        this));
    layout->addStretch(1);
}

void PathListPage::refresh()
{
    const auto& l = model_.list(which_);
    showText(text_, l.text);
    quietly(items_, [&](QListWidget& w) {
        bool same = w.count() == static_cast<int>(l.items.size());
        for (int i = 0; same && i < w.count(); ++i)
            same = w.item(i)->text() == qs(l.items[static_cast<std::size_t>(i)]);
        if (!same) {
            w.clear();
            for (const auto& item : l.items)
                w.addItem(qs(item));
        }
        const int row = l.selected ? static_cast<int>(*l.selected) : -1;
        if (w.currentRow() != row)
            w.setCurrentRow(row);
    });
}

// --- page 3 --------------------------------------------------------------------------------------

ResponsesPage::ResponsesPage(WizardModel& model, QWidget* parent) : WizardPage(model, parent)
{
    auto* layout = new QVBoxLayout(this);
    lstAct_ = new QListWidget(this);
    lstAct_->setObjectName(QStringLiteral("lstAct"));
    for (const auto caption : kWizardActCaptions) {
        auto* item = new QListWidgetItem(qs(caption), lstAct_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    connect(lstAct_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        guarded("lstAct", [&] { model_.setResponseTicked(lstAct_->row(item), item->checkState() == Qt::Checked); });
    });
    layout->addWidget(lstAct_);
    layout->addWidget(explanation("Here you specify the the action the program to perform. The action functions are "
                                  "activated when the minimum free space is reached in the selected drives.",
                                  this));
}

void ResponsesPage::refresh()
{
    const auto& ticks = model_.answers().lstAct;
    quietly(lstAct_, [&](QListWidget& w) {
        for (int i = 0; i < w.count(); ++i)
            w.item(i)->setCheckState(ticks[static_cast<std::size_t>(i)] ? Qt::Checked : Qt::Unchecked);
    });
}

// --- pages 4 and 5 --------------------------------------------------------------------------------

TextPage::TextPage(WizardModel& model, Field field, QWidget* parent) : WizardPage(model, parent), field_(field)
{
    const bool types = field == Field::FileTypes;
    auto* layout = new QVBoxLayout(this);
    auto* frame = new QGroupBox(types ? QStringLiteral("Specified File Type(s)") : QStringLiteral("Specified Path to Move"), this);
    auto* frameLayout = new QVBoxLayout(frame);
    text_ = new QLineEdit(frame);
    text_->setObjectName(types ? QStringLiteral("txtFileType") : QStringLiteral("txtDrive"));
    text_->setToolTip(types ? QStringLiteral("Interval Time to Check Drive(s)")
                            : QStringLiteral("The Folder/Path to Move File to On Triggered Action"));
    connect(text_, &QLineEdit::textEdited, this, [this](const QString& text) {
        guarded("text", [&] {
            if (field_ == Field::FileTypes)
                model_.setFileTypes(text.toStdString());
            else
                model_.setMovePath(text.toStdString());
        });
    });
    frameLayout->addWidget(text_);
    layout->addWidget(frame);
    layout->addWidget(explanation(
        types ? "Here you specify the file types the program will use to free up space: their extensions, separated "
                "by spaces."
              : "Here you specify the path to move files to when the minimum free space is reached.",
        this));
    layout->addStretch(1);
}

void TextPage::refresh()
{
    const auto& a = model_.answers();
    showText(text_, field_ == Field::FileTypes ? a.txtFileType : a.txtDrive);
}

} // namespace volmara
