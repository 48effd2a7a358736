#include "ui/pages/options_page.h"

#include "core/form1_model.h"
#include "core/pause_control.h"
#include "ui/binding.h"
#include "ui/up_down.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace volmara {

namespace {

template <std::size_t N>
QListWidget* checkList(const std::array<std::string_view, N>& captions, const char* name, QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    for (const auto caption : captions) {
        auto* item = new QListWidgetItem(qs(caption), list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
    return list;
}

template <std::size_t N>
void showTicks(QListWidget* list, const std::array<bool, N>& ticks)
{
    quietly(list, [&](QListWidget& l) {
        for (std::size_t i = 0; i < N && static_cast<int>(i) < l.count(); ++i) {
            const auto state = ticks[i] ? Qt::Checked : Qt::Unchecked;
            if (l.item(static_cast<int>(i))->checkState() != state)
                l.item(static_cast<int>(i))->setCheckState(state);
        }
    });
}

QTime toQTime(const DateTime& t) { return QTime(t.hour, t.minute, t.second); }

// The pickers hold a time of day; the date part of the stored value is kept as it is.
DateTime withTime(DateTime value, const QTime& time)
{
    value.hour = time.hour();
    value.minute = time.minute();
    value.second = time.second();
    return value;
}

QTimeEdit* timePicker(const char* name, QWidget* parent)
{
    auto* picker = new QTimeEdit(parent);
    picker->setObjectName(QString::fromLatin1(name));
    picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return picker;
}

void showTime(QTimeEdit* picker, const DateTime& value)
{
    quietly(picker, [&](QTimeEdit& p) {
        if (p.time() != toQTime(value))
            p.setTime(toQTime(value));
    });
}

} // namespace

OptionsPage::OptionsPage(Form1Model& model, QWidget* parent) : QWidget(parent), model_(model)
{
    setObjectName(QStringLiteral("frmSp1"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(buildEvents(), 0, 0);
    grid->addWidget(buildResponses(), 0, 1);
    grid->addWidget(buildCustomTime(), 1, 0);
    grid->addWidget(buildInterval(), 1, 1);
    refreshOn(model_.app().form1, this, [](OptionsPage& p) { p.refresh(); });
    refresh();
}

QWidget* OptionsPage::buildEvents()
{
    auto* frame = new QGroupBox(QStringLiteral(" Alert on Selected Events"), this);
    auto* layout = new QVBoxLayout(frame);
    lstEvt_ = checkList(kLstEvtCaptions, "lstEvt", frame);
    layout->addWidget(lstEvt_);
    connect(lstEvt_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int index = lstEvt_->row(item);
        guarded("lstEvt", [&] { model_.setEventTicked(index, item->checkState() == Qt::Checked); });
    });
    return frame;
}

QWidget* OptionsPage::buildResponses()
{
    auto* frame = new QGroupBox(QStringLiteral(" Action on Space Shortage"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* layout = new QVBoxLayout(frame);
    lstAct_ = checkList(kLstActCaptions, "lstAct", frame);
    layout->addWidget(lstAct_);
    connect(lstAct_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int index = lstAct_->row(item);
        guarded("lstAct", [&] { model_.setResponseTicked(index, item->checkState() == Qt::Checked); });
        // The list's rules may refuse the tick or clear others.
        refresh();
    });
    return frame;
}

QWidget* OptionsPage::buildCustomTime()
{
    auto* frame = new QGroupBox(QStringLiteral("Custom Watch Time "), this);
    auto* grid = new QGridLayout(frame);
    chkCustTime_ = new QCheckBox(QStringLiteral("Enable Custom Time"), frame);
    chkCustTime_->setObjectName(QStringLiteral("chkCustTime"));
    grid->addWidget(chkCustTime_, 0, 0, 1, 2);
    connect(chkCustTime_, &QCheckBox::clicked, this, [this](bool on) {
        model_.app().settings.chkCustTime = on ? 1 : 0;
        guarded("chkCustTime", [&] { chkCustTime_Click(model_.app()); });
    });
    const std::array<const char*, 2> captions{"Start Time", "End Time"};
    const std::array<const char*, 2> names{"DTTime10", "DTTime11"};
    for (std::size_t i = 0; i < 2; ++i) {
        DTTime1_[i] = timePicker(names[i], frame);
        grid->addWidget(new QLabel(QString::fromLatin1(captions[i]), frame), static_cast<int>(i) + 1, 0);
        grid->addWidget(DTTime1_[i], static_cast<int>(i) + 1, 1);
        connect(DTTime1_[i], &QTimeEdit::timeChanged, this, [this, i](const QTime& time) {
            auto& stored = model_.app().settings.DTTime1[i];
            stored = withTime(stored, time);
        });
    }
    return frame;
}

QWidget* OptionsPage::buildInterval()
{
    auto* frame = new QGroupBox(QStringLiteral("Time Interval"), this);
    auto* grid = new QGridLayout(frame);

    DTPInterval_ = timePicker("DTPInterval", frame);
    // The model's steppers move the interval by ten seconds; the picker's own arrows would not.
    DTPInterval_->setButtonSymbols(QAbstractSpinBox::NoButtons);
    auto* intervalSteps = new UpDown(frame);
    intervalSteps->setObjectName(QStringLiteral("DTPIntervalUpDown"));
    grid->addWidget(DTPInterval_, 0, 0);
    grid->addWidget(intervalSteps, 0, 1);
    connect(DTPInterval_, &QTimeEdit::timeChanged, this, [this](const QTime& time) {
        auto& stored = model_.app().settings.DTPInterval;
        stored = withTime(stored, time);
    });
    connect(intervalSteps, &UpDown::up, this, [this] { guarded("DTPInterval", [&] { intervalStepUp(model_.app()); }); });
    connect(intervalSteps, &UpDown::down, this,
            [this] { guarded("DTPInterval", [&] { intervalStepDown(model_.app()); }); });

    txtTime_ = new QLineEdit(frame);
    txtTime_->setObjectName(QStringLiteral("txtTime"));
    auto* timeSteps = new UpDown(frame);
    timeSteps->setObjectName(QStringLiteral("txtTimeUpDown"));
    grid->addWidget(txtTime_, 1, 0);
    grid->addWidget(timeSteps, 1, 1);
    connect(txtTime_, &QLineEdit::textEdited, this,
            [this](const QString& text) { model_.app().settings.txtTime = text.toStdString(); });
    connect(timeSteps, &UpDown::up, this, [this] { guarded("txtTime", [&] { txtTimeStepUp(model_.app()); }); });
    connect(timeSteps, &UpDown::down, this, [this] { guarded("txtTime", [&] { txtTimeStepDown(model_.app()); }); });

    chkSaveSet_ = new QCheckBox(QStringLiteral("Save Settings"), frame);
    chkSaveSet_->setObjectName(QStringLiteral("chkSaveSet"));
    chkLogTimeMon_ = new QCheckBox(QStringLiteral("Log time when auto checking"), frame);
    chkLogTimeMon_->setObjectName(QStringLiteral("chkLogTimeMon"));
    grid->addWidget(chkSaveSet_, 2, 0, 1, 2);
    grid->addWidget(chkLogTimeMon_, 3, 0, 1, 2);
    connect(chkSaveSet_, &QCheckBox::clicked, this, [this](bool on) { model_.app().form1.chkSaveSet = on ? 1 : 0; });
    connect(chkLogTimeMon_, &QCheckBox::clicked, this,
            [this](bool on) { model_.app().form1.chkLogTimeMon = on ? 1 : 0; });
    return frame;
}

void OptionsPage::refresh()
{
    const auto& app = model_.app();
    showTicks(lstEvt_, app.lstEvt);
    showTicks(lstAct_, app.lstAct);
    quietly(chkCustTime_, [&](QCheckBox& c) { c.setChecked(app.settings.chkCustTime == 1); });
    for (std::size_t i = 0; i < 2; ++i) {
        showTime(DTTime1_[i], app.settings.DTTime1[i]);
        DTTime1_[i]->setEnabled(app.form1.customPickersEnabled);
    }
    showTime(DTPInterval_, app.settings.DTPInterval);
    if (txtTime_->text() != qs(app.settings.txtTime))
        txtTime_->setText(qs(app.settings.txtTime));
    quietly(chkSaveSet_, [&](QCheckBox& c) { c.setChecked(app.form1.chkSaveSet == 1); });
    quietly(chkLogTimeMon_, [&](QCheckBox& c) { c.setChecked(app.form1.chkLogTimeMon == 1); });
}

} // namespace volmara
