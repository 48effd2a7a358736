#include "ui/pages/specified_options_page.h"

#include "ui/link_label.h"
#include "core/form1_model.h"
#include "ui/pages/path_space_page.h"
#include "ui/specified/specified_files_page.h"
#include "ui/specified/specified_programs_page.h"

#include <QHBoxLayout>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace volmara {

namespace {

const QColor kDarkBlue(0x00, 0x00, 0x40);
const QColor kChosenBackground(0xE0, 0xE0, 0xE0);

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
    fr_->addWidget(new SpecifiedProgramsPage(model.app(), fr_));
    fr_->addWidget(new PathSpacePage(model, fr_));
    fr_->addWidget(new SpecifiedFilesPage(model.app(), fr_));
    layout->addWidget(fr_, 1);
    // Until the menus carry them, the clean-up actions are reached from here.
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
