#include "ui/main_menus.h"

#include "alerts/cleanup_actions.h"
#include "core/pause_control.h"
#include "shell/main_commands.h"
#include "shell/shell_commands.h"
#include "ui/binding.h"
#include "ui/form1.h"
#include "ui/notify/frm_notify.h"

#include <QAction>
#include <QMenu>

namespace volmara {

MainMenus::MainMenus(Form1& window) : QObject(&window), window_(window)
{
    bindCommands();
    mnuPopUp_ = buildMenu("mnuPopUp", kMnuPopUp);
    mnuLstV_ = buildMenu("mnuLstV", kMnuLstV);
    mnuFunc_ = buildMenu("mnuFunc", kMnuFunc);
    for (const char* checkable : {"mnuPause", "mnuHide", "mnuStayOnTop"})
        item(checkable)->setCheckable(true);
    refresh();
}

// The menus have no parent widget (a pop-up is a window of its own): they go with this object.
MainMenus::~MainMenus()
{
    delete mnuPopUp_;
    delete mnuLstV_;
    delete mnuFunc_;
}

template <typename Items>
QMenu* MainMenus::buildMenu(const char* name, const Items& items)
{
    auto* menu = new QMenu;
    menu->setObjectName(QString::fromLatin1(name));
    for (const auto& entry : items) {
        if (entry.name == kSeparator) {
            menu->addSeparator();
            continue;
        }
        const auto caption = QString::fromUtf8(entry.caption.data(), static_cast<qsizetype>(entry.caption.size()));
        QAction* action = nullptr;
        if (entry.name == "mnuHelp") {
            auto* sub = buildMenu("mnuHelp", kMnuHelp);
            sub->setParent(menu, sub->windowFlags());
            sub->setTitle(caption);
            action = menu->addMenu(sub);
        } else if (entry.name == "mnuF") {
            auto* sub = new QMenu(caption, menu);
            sub->setObjectName(QStringLiteral("mnuF"));
            for (const auto& fade : kMnuF) {
                auto* level = sub->addAction(QString::fromUtf8(fade.caption.data(), static_cast<qsizetype>(fade.caption.size())));
                level->setObjectName(QString::fromUtf8(fade.name.data(), static_cast<qsizetype>(fade.name.size())));
                connect(level, &QAction::triggered, this,
                        [this, percent = fade.level] { guarded("mnuF", [&] { SetWindowFade(window_.model().app(), percent); }); });
            }
            action = menu->addMenu(sub);
        } else {
            action = menu->addAction(caption);
            connect(action, &QAction::triggered, this, [this, command = entry.name] { run(command); });
        }
        action->setObjectName(QString::fromUtf8(entry.name.data(), static_cast<qsizetype>(entry.name.size())));
        items_[entry.name] = action;
    }
    return menu;
}

void MainMenus::bindCommands()
{
    auto& model = window_.model();
    auto& app = model.app();
    Form1* window = &window_;
    commands_ = {
        // The tray menu.
        {"mnuLock", [&app] { mnuLock_Click(app); }},
        {"mnuPause", [&app] { mnuPause_Click(app); }},
        {"mnuHide", [&app] { mnuHide_Click(app); }},
        {"mnuShowAl", [&app] { mnuShowAlert_Click(app); }},
        {"mnuContent", [&app] { openHelp(app); }},
        {"mnuFAQ", [&app] { openHelp(app); }},
        {"mnuAboutVL", [&app] { mnuAboutVL_Click(app); }},
        {"mnuExit", [&app, window] { mnuExit_Click(app, [window] { window->close(); }); }},
        // The watch list's menu.
        {"mnuExplore", [&app] { mnuExplore_Click(app); }},
        {"mnuParam", [&model] { model.openDriveWindow(); }},
        {"mnuRemove", [&model] { model.removeSelected(); }},
        {"mnuInfo", [&app] { mnuInfo_Click(app); }},
        // The functions menu.
        {"mnuProgSet", [window] { window->mnuProgSet_Click(); }},
        {"mnuRecyc", [&app] { RecycleBin(app); }},
        {"mnuDefrag", [&app] { mnuDefrag_Click(app); }},
        {"mnuEmptyRecyc", [&app] { mnuEmptyRecyc_Click(app); }},
        {"mnuNotif",
         [&app, window] {
             if (app.frmNotify.visible())
                 app.frmNotify.cmdCancel_Click(); // hides it, as its own Cancel does
             else
                 FrmNotify::showFor(app.frmNotify, *window);
         }},
        {"mnuShowAlert", [&app] { mnuShowAlert_Click(app); }},
        {"mnuCleaner", [&app] { mnuCleaner_Click(app); }},
        {"mnuOlvesta", [&app] { mnuOlvesta_Click(app); }},
        {"mnuToSystray", [&app] { mnuToSystray_Click(app); }},
        {"mnuStayOnTop", [&app] { mnuStayOnTop_Click(app); }},
    };
}

void MainMenus::run(std::string_view name)
{
    const auto command = commands_.find(name);
    if (command != commands_.end())
        guarded(std::string(name).c_str(), [&] { command->second(); });
    refresh();
}

QAction* MainMenus::item(std::string_view name) const
{
    const auto found = items_.find(name);
    return found == items_.end() ? nullptr : found->second;
}

void MainMenus::refresh()
{
    const auto& form = window_.model().app().form1;
    item("mnuPause")->setChecked(form.mnuPauseChecked);
    item("mnuHide")->setChecked(form.mnuHideChecked);
    item("mnuStayOnTop")->setChecked(form.mnuStayOnTopChecked);
}

} // namespace volmara
