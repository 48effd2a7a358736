#include "ui/alert/dlg_alert.h"

#include "ui/alert/press_label.h"
#include "ui/binding.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QVBoxLayout>

#include <memory>

namespace volmara {

namespace {

constexpr int kWidthTwips = 6300;

// The text keeps the CR LF line ends of the log; the text box breaks lines on LF alone.
QString shownText(const std::string& text) { return qs(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

} // namespace

DlgAlert* DlgAlert::attach(AlertDialog& model, QWidget& owner)
{
    auto window = std::make_shared<QPointer<DlgAlert>>();
    auto follow = [&model, owner = QPointer<QWidget>(&owner), window] {
        if (!*window) {
            if (!model.visible() || !owner)
                return;
            *window = new DlgAlert(model, owner);
        }
        guarded("dlgAlert", [&] { (*window)->refresh(); });
    };
    model.subscribe(follow);
    follow();
    return window->data();
}

DlgAlert::DlgAlert(AlertDialog& model, QWidget* parent) : QDialog(parent), model_(model)
{
    setObjectName(QStringLiteral("dlgAlert"));
    setModal(false);
    // It pops up over other programs.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    alertPart_ = buildAlertPart();
    actionPart_ = buildActionPart();
    refresh();
}

QWidget* DlgAlert::buildAlertPart()
{
    auto* part = new QWidget(this);
    auto* layout = new QVBoxLayout(part);
    alertFrame_ = new QGroupBox(QStringLiteral("Current Alerts"), part);
    auto* frameLayout = new QVBoxLayout(alertFrame_);
    Label1_ = new QPlainTextEdit(alertFrame_);
    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setReadOnly(true);
    frameLayout->addWidget(Label1_);
    layout->addWidget(alertFrame_, 1);

    auto* options = new QHBoxLayout;
    chkLog_ = new QCheckBox(QStringLiteral("Show Log "), part);
    chkLog_->setObjectName(QStringLiteral("chkLog"));
    chkAutoHide_ = new QCheckBox(QStringLiteral("Auto Hide "), part);
    chkAutoHide_->setObjectName(QStringLiteral("chkAutoHide"));
    options->addWidget(chkLog_);
    options->addWidget(chkAutoHide_);
    options->addStretch();
    layout->addLayout(options);
    connect(chkLog_, &QCheckBox::clicked, this, [this](bool on) { guarded("chkLog", [&] { model_.chkLog_Click(on); }); });
    connect(chkAutoHide_, &QCheckBox::clicked, this,
            [this](bool on) { guarded("chkAutoHide", [&] { model_.chkAutoHide_Click(on); }); });

    auto* commands = new QHBoxLayout;
    for (std::size_t i = 0; i < kLblAl.size(); ++i) {
        auto* label = new PressLabel(qs(kLblAl[i]), part);
        label->setObjectName(QStringLiteral("lblAl%1").arg(i));
        const int index = static_cast<int>(i);
        connect(label, &PressLabel::pressed, this, [this, index] { guarded("lblAl", [&] { model_.lblAl_MouseDown(index); }); });
        connect(label, &PressLabel::released, this, [this, index] { guarded("lblAl", [&] { model_.lblAl_MouseUp(index); }); });
        connect(label, &PressLabel::clicked, this, [this, index] { guarded("lblAl", [&] { model_.lblAl_Click(index); }); });
        commands->addWidget(label);
        lblAl_[i] = label;
    }
    layout->addLayout(commands);
    return part;
}

QWidget* DlgAlert::buildActionPart()
{
    auto* part = new QWidget(this);
    auto* layout = new QVBoxLayout(part);
    auto* frame = new QGroupBox(QStringLiteral("Action Options"), part);
    frame->setObjectName(QStringLiteral("fraAction"));
    auto* frameLayout = new QVBoxLayout(frame);
    auto* row = new QHBoxLayout;
    for (std::size_t i = 0; i < kLblAct.size(); ++i) {
        auto* label = new PressLabel(qs(kLblAct[i]), frame);
        label->setObjectName(QStringLiteral("lblAct%1").arg(i));
        const int index = static_cast<int>(i);
        connect(label, &PressLabel::clicked, this, [this, index] { guarded("lblAct", [&] { model_.lblAct_Click(index); }); });
        row->addWidget(label);
        lblAct_[i] = label;
    }
    frameLayout->addLayout(row);
    lblSuggest_ = new QLabel(frame);
    lblSuggest_->setObjectName(QStringLiteral("lblSuggest"));
    lblSuggest_->setWordWrap(true);
    lblSuggest_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Room for a suggestion of a few lines: the part is placed by hand, not sized by its layout.
    lblSuggest_->setMinimumHeight(lblSuggest_->fontMetrics().lineSpacing() * 3);
    frameLayout->addWidget(lblSuggest_);
    frameLayout->addStretch();
    layout->addWidget(frame);
    return part;
}

void DlgAlert::placeParts()
{
    // The action row lies below the compact height: enlarging the dialog reveals it.
    const int compact = twipsToPixels(kAlertCompactHeight);
    alertPart_->setGeometry(0, 0, width(), compact);
    actionPart_->setGeometry(0, compact, width(), twipsToPixels(kAlertFullHeight) - compact);
}

void DlgAlert::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeParts();
}

void DlgAlert::reject() { guarded("dlgAlert", [&] { model_.hide(); }); }

void DlgAlert::refresh()
{
    setWindowTitle(qs(model_.caption()));
    if (model_.Label1() != shownText_) {
        shownText_ = model_.Label1();
        Label1_->setPlainText(shownText(shownText_));
    }
    Label1_->setVisible(model_.Label1Visible());
    lblSuggest_->setText(qs(model_.lblSuggest()));
    quietly(chkLog_, [&](QCheckBox& c) { c.setChecked(model_.chkLog()); });
    quietly(chkAutoHide_, [&](QCheckBox& c) { c.setChecked(model_.chkAutoHide()); });
    for (std::size_t i = 0; i < lblAct_.size(); ++i)
        lblAct_[i]->showLook(model_.lblAct()[i]);
    for (std::size_t i = 0; i < lblAl_.size(); ++i)
        lblAl_[i]->showLook(model_.lblAl()[i]);
    setFixedSize(twipsToPixels(kWidthTwips), twipsToPixels(model_.heightTwips()));
    if (model_.visible() != isVisible())
        setVisible(model_.visible());
}

} // namespace volmara
