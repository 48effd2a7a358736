#include "ui/pages/config_page.h"

#include "core/form1_model.h"
#include "shell/shell_commands.h"
#include "ui/binding.h"
#include "ui/link_label.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace volmara {

ConfigPage::ConfigPage(Form1Model& model, QWidget* parent) : QWidget(parent), model_(model)
{
    setObjectName(QStringLiteral("frmSp2"));
    auto* layout = new QVBoxLayout(this);
    auto& app = model_.app();
    layout->addWidget(addOption("chkSystray", "Show in Systray", &Settings::chkSystray,
                                [&app](int value) { chkSystray_Click(app, value); }));
    layout->addWidget(addOption("chkOnTopMonitor", "Show Volmara during Monitoring", &Settings::chkOnTopMonitor));
    layout->addWidget(buildAudio());
    layout->addWidget(addOption("chkUpdate", "Automatically Check for updates", &Settings::chkUpdate));
    layout->addWidget(addOption("chkStartUp", "Load Volmara at Startup.", &Settings::chkStartUp,
                                [&app](int value) { chkStartUp_Click(app, value); }));
    layout->addWidget(addOption("chkNTLog", "Set Alerts to System Events Log if Avail.(NT only)", &Settings::chkNTLog));
    layout->addWidget(buildCommands());
    layout->addStretch();
    refreshOn(model_.app().form1, this, [](ConfigPage& p) { p.refresh(); });
    refresh();
}

QCheckBox* ConfigPage::addOption(const char* name, const char* caption, int Settings::*field,
                                 std::function<void(int)> onClick)
{
    auto* box = new QCheckBox(QString::fromLatin1(caption), this);
    box->setObjectName(QString::fromLatin1(name));
    options_.push_back({box, field});
    connect(box, &QCheckBox::clicked, this, [this, field, onClick, name](bool on) {
        if (!onClick) {
            model_.app().settings.*field = on ? 1 : 0;
            return;
        }
        guarded(name, [&] { onClick(on ? 1 : 0); });
        refresh();
    });
    return box;
}

QWidget* ConfigPage::buildCommands()
{
    auto& app = model_.app();
    auto* area = new QWidget(this);
    auto* layout = new QGridLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* checkUpdates = new LinkLabel(QStringLiteral("Check Updates"), QString(), area);
    checkUpdates->setObjectName(QStringLiteral("Label5_5"));
    layout->addWidget(checkUpdates, 0, 0);
    lblNewVer_ = new QLabel(area);
    lblNewVer_->setObjectName(QStringLiteral("lblNewVer"));
    layout->addWidget(lblNewVer_, 0, 1);
    auto* about = new LinkLabel(QStringLiteral("About Volmara"), QString(), area);
    about->setObjectName(QStringLiteral("lblAbout"));
    layout->addWidget(about, 1, 0);
    layout->setColumnStretch(2, 1);
    connect(checkUpdates, &LinkLabel::clicked, this, [&app] { guarded("Check Updates", [&] { lblCheckUpdates_Click(app); }); });
    connect(about, &LinkLabel::clicked, this, [&app] { guarded("lblAbout", [&] { mnuAboutVL_Click(app); }); });
    return area;
}

QWidget* ConfigPage::buildAudio()
{
    auto* frame = new QGroupBox(QStringLiteral("Audio Options"), this);
    auto* grid = new QGridLayout(frame);
    const std::array<const char*, 2> captions{"Select Sound for Audio Alert", "Select Sound  for Audio Notify"};
    const std::array<const char*, 2> fieldNames{"txtAudio0", "txtAudio1"};
    const std::array<const char*, 2> chooserNames{"cmdAudio0", "cmdAudio1"};
    for (std::size_t i = 0; i < 2; ++i) {
        const int row = static_cast<int>(i) * 2;
        grid->addWidget(new QLabel(QString::fromLatin1(captions[i]), frame), row, 0, 1, 2);
        txtAudio_[i] = new QLineEdit(frame);
        txtAudio_[i]->setObjectName(QString::fromLatin1(fieldNames[i]));
        // Only the chooser and the settings file set the sound.
        txtAudio_[i]->setReadOnly(true);
        auto* chooser = new QPushButton(QStringLiteral("..."), frame);
        chooser->setObjectName(QString::fromLatin1(chooserNames[i]));
        grid->addWidget(txtAudio_[i], row + 1, 0);
        grid->addWidget(chooser, row + 1, 1);
        connect(chooser, &QPushButton::clicked, this, [this, i] { chooseSound(i); });
        auto* play = new QPushButton(style()->standardIcon(QStyle::SP_MediaVolume), QString(), frame);
        play->setObjectName(QStringLiteral("cmdPlay%1").arg(i));
        grid->addWidget(play, row + 1, 2);
        connect(play, &QPushButton::clicked, this,
                [this, i] { guarded("cmdPlay", [&] { model_.playSound(static_cast<int>(i)); }); });
    }
    return frame;
}

void ConfigPage::chooseSound(std::size_t index)
{
    guarded("cmdAudio", [&] { model_.chooseSound(static_cast<int>(index)); });
}

void ConfigPage::refresh()
{
    const auto& settings = model_.app().settings;
    for (const auto& option : options_)
        quietly(option.box, [&](QCheckBox& c) { c.setChecked(settings.*option.field == 1); });
    for (std::size_t i = 0; i < 2; ++i)
        txtAudio_[i]->setText(qs(settings.txtAudio[i]));
    lblNewVer_->setText(qs(model_.app().form1.lblNewVer));
}

} // namespace volmara
