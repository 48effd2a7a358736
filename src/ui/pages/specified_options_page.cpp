#include "ui/pages/specified_options_page.h"

#include "ui/link_label.h"
#include "ui/pages/path_space_page.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace volmara {

namespace {

const QColor kDarkBlue(0x00, 0x00, 0x40);
const QColor kChosenBackground(0xE0, 0xE0, 0xE0);

// The programs and files sub-pages get their lists with the specified programs and files.
QWidget* placeholderFrame(const char* caption, const char* name, QWidget* parent)
{
    auto* frame = new QGroupBox(QString::fromLatin1(caption), parent);
    frame->setObjectName(QString::fromLatin1(name));
    return frame;
}

} // namespace

SpecifiedOptionsPage::SpecifiedOptionsPage(Form1Model& model, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmSp0"));
    auto* layout = new QVBoxLayout(this);
    auto* tabs = new QHBoxLayout;
    tabs->setSpacing(2);
    const char* captions[] = {"Programs", "Path/Space/Types", "Files"};
    for (int i = 0; i < 3; ++i) {
        auto* label = new LinkLabel(QString::fromLatin1(captions[i]),
                                    QStringLiteral("Specified Options (Files, Paths...)"), this);
        label->setObjectName(QStringLiteral("lblSpectab%1").arg(i));
        label->setMargin(3);
        QFont plain = label->font();
        plain.setUnderline(false);
        label->setFont(plain);
        tabs->addWidget(label);
        lblSpectab_.push_back(label);
        connect(label, &LinkLabel::clicked, this, [this, i] { lblSpectab_Click(i); });
    }
    tabs->addStretch();
    layout->addLayout(tabs);

    fr_ = new QStackedWidget(this);
    fr_->addWidget(placeholderFrame("Specified Program(s)", "fr0", fr_));
    fr_->addWidget(new PathSpacePage(model, fr_));
    fr_->addWidget(placeholderFrame("Specified File(s)", "fr2", fr_));
    layout->addWidget(fr_, 1);
    lblSpectab_Click(0);
}

void SpecifiedOptionsPage::lblSpectab_Click(int index)
{
    for (auto* label : lblSpectab_) {
        label->setTextColor(palette().color(QPalette::Base));
        label->setBackgroundColor(kDarkBlue);
    }
    auto* chosen = lblSpectab_.at(static_cast<std::size_t>(index));
    chosen->setTextColor(kDarkBlue);
    chosen->setBackgroundColor(kChosenBackground);
    fr_->setCurrentIndex(index);
}

} // namespace volmara
