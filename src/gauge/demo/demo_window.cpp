#include "demo_window.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>

#include <algorithm>
#include <limits>
#include <string>
#include <utility>

#include "control_host.h"

namespace kelvane::demo {

namespace {

using StringGetter = KvResult (*)(KvSpmeter*, char*, std::uint32_t, std::uint32_t*);

QString readString(KvSpmeter* control, StringGetter get)
{
    std::uint32_t length = 0;
    if (KV_FAILED(get(control, nullptr, 0, &length))) return {};
    std::string text(length + 1, '\0');
    if (KV_FAILED(get(control, text.data(), length + 1, &length))) return {};
    text.resize(length);
    return QString::fromStdString(text);
}

}  // namespace

DemoWindow::DemoWindow(KvSpmeter* control) : control_(control)
{
    setWindowTitle(QStringLiteral("Kelvane demo"));

    maximum_ = new QSpinBox;
    maximum_->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    speed_ = new QSlider(Qt::Horizontal);
    threshold_ = new QSlider(Qt::Horizontal);
    reading_ = new QLineEdit;
    caption_ = new QLineEdit;
    values_ = new QLabel;
    mouseDown_ = new QLabel(QStringLiteral("(press the gauge)"));
    status_ = new QLabel;

    std::int32_t max = 0;
    control_->vtbl->get_MaxValue(control_, &max);
    maximum_->setValue(max);
    caption_->setText(readString(control_, control_->vtbl->get_SpeedometerCaption));
    reading_->setText(readString(control_, control_->vtbl->get_NumericSpeed));
    setMaximum(max);
    double speed = 0, threshold = 0;
    control_->vtbl->get_ActiveSpeed_line(control_, &speed);
    control_->vtbl->get_Threshold0_line(control_, &threshold);
    for (auto [slider, value] : {std::pair{speed_, speed}, std::pair{threshold_, threshold}}) {
        const QSignalBlocker quiet(slider);
        slider->setValue(static_cast<int>(value));
    }

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("MaxValue"), maximum_);
    form->addRow(QStringLiteral("ActiveSpeed_line"), speed_);
    form->addRow(QStringLiteral("Threshold0_line"), threshold_);
    form->addRow(QStringLiteral("NumericSpeed"), reading_);
    form->addRow(QStringLiteral("SpeedometerCaption"), caption_);
    form->addRow(QStringLiteral("Read back"), values_);
    form->addRow(QStringLiteral("MouseDown"), mouseDown_);
    form->addRow(QString(), status_);

    auto* layout = new QHBoxLayout(this);
    void* gauge = nullptr;
    if (KV_SUCCEEDED(control_->vtbl->GetWindow(control_, &gauge)))
        layout->addWidget(static_cast<QWidget*>(gauge), 0, Qt::AlignTop);
    layout->addLayout(form, 1);

    control_->vtbl->AdviseMouseDown(control_, &DemoWindow::onMouseDown, this, &cookie_);

    connect(maximum_, &QSpinBox::valueChanged, this, [this](int value) { setMaximum(value); });
    connect(speed_, &QSlider::valueChanged, this, [this](int value) { setLine(Marker::Needle, value); });
    connect(threshold_, &QSlider::valueChanged, this, [this](int value) { setLine(Marker::Threshold, value); });
    connect(reading_, &QLineEdit::textEdited, this, [this](const QString& text) {
        report("NumericSpeed",
               control_->vtbl->put_NumericSpeed(control_, text.toStdString().c_str()));
    });
    connect(caption_, &QLineEdit::textEdited, this, [this](const QString& text) {
        report("SpeedometerCaption",
               control_->vtbl->put_SpeedometerCaption(control_, text.toStdString().c_str()));
    });
    showValues();
}

DemoWindow::~DemoWindow()
{
    control_->vtbl->Unadvise(control_, cookie_);
    control_->vtbl->Release(control_);
}

void DemoWindow::onMouseDown(void* context, std::int16_t button, std::int16_t shift, float x,
                             float y)
{
    static_cast<DemoWindow*>(context)->mouseDown_->setText(
        QStringLiteral("Button=%1 Shift=%2 X=%3 Y=%4").arg(button).arg(shift).arg(x).arg(y));
}

void DemoWindow::setMaximum(int value)
{
    report("MaxValue", control_->vtbl->put_MaxValue(control_, value));
    // The sliders reach a little past both ends, to show the clamp at the
    // maximum and the unclamped values below zero.
    const qint64 m = value;
    const int low = m > 0 ? static_cast<int>(-m / 10) : -10;
    const int high = m > 0 ? static_cast<int>(std::min<qint64>(m + m / 4, std::numeric_limits<int>::max())) : 10;
    for (QSlider* slider : {speed_, threshold_}) {
        const QSignalBlocker quiet(slider);
        slider->setRange(low, high);
    }
}

void DemoWindow::setLine(Marker marker, int value)
{
    if (marker == Marker::Needle) report("ActiveSpeed_line", control_->vtbl->put_ActiveSpeed_line(control_, value));
    else report("Threshold0_line", control_->vtbl->put_Threshold0_line(control_, value));
}

void DemoWindow::report(const char* property, KvResult result)
{
    status_->setText(KV_FAILED(result) ? QStringLiteral("%1 failed: %2")
                                             .arg(QLatin1String(property),
                                                  QString::fromStdString(host::resultText(result)))
                                       : QString());
    showValues();
}

void DemoWindow::showValues()
{
    std::int32_t max = 0;
    double speed = 0, threshold = 0;
    control_->vtbl->get_MaxValue(control_, &max);
    control_->vtbl->get_ActiveSpeed_line(control_, &speed);
    control_->vtbl->get_Threshold0_line(control_, &threshold);
    values_->setText(QStringLiteral("MaxValue %1, ActiveSpeed_line %2, Threshold0_line %3")
                         .arg(max)
                         .arg(speed)
                         .arg(threshold));
}

}  // namespace kelvane::demo
