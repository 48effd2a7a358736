#include "ui/specified/cleanup_commands.h"

#include "alerts/cleanup_actions.h"
#include "core/app_state.h"
#include "ui/binding.h"
#include "ui/link_label.h"

#include <QHBoxLayout>

#include <array>

namespace volmara {

namespace {

struct Command {
    const char* caption;
    const char* name;
    void (*run)(AppState&);
};

constexpr std::array<Command, 6> kCommands{{
    {"Empty Recycle Bin", "mnuEmptyRecyc", &mnuEmptyRecyc_Click},
    {"Clean Manager", "mnuCleaner", &mnuCleaner_Click},
    {"Show Recycle Bin", "mnuRecyc", &RecycleBin},
    {"Olvesta Program", "mnuOlvesta", &mnuOlvesta_Click},
    {"Defrag Utility", "mnuDefrag", &mnuDefrag_Click},
    {"Explore", "mnuExplore", &mnuExplore_Click},
}};

} // namespace

CleanupCommands::CleanupCommands(AppState& app, QWidget* parent) : QGroupBox(QStringLiteral("Clean-up"), parent)
{
    setObjectName(QStringLiteral("cleanupCommands"));
    auto* layout = new QHBoxLayout(this);
    for (const auto& command : kCommands) {
        auto* label = new LinkLabel(QString::fromLatin1(command.caption), QString::fromLatin1(command.caption), this);
        label->setObjectName(QString::fromLatin1(command.name));
        layout->addWidget(label);
        connect(label, &LinkLabel::clicked, this, [&app, run = command.run] { guarded("Clean-up", [&] { run(app); }); });
    }
    layout->addStretch();
}

} // namespace volmara
