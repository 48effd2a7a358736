#pragma once

#include <QObject>

#include <functional>
#include <map>
#include <string_view>

class QAction;
class QMenu;

namespace volmara {

class Form1;

// The main window's three pop-up menus: the tray menu `mnuPopUp`, the watch list's `mnuLstV` and
// the functions menu `mnuFunc`. Items are named as the program names them; a click runs the
// command of its name.
class MainMenus final : public QObject {
    Q_OBJECT
public:
    explicit MainMenus(Form1& window);
    ~MainMenus() override;

    QMenu* mnuPopUp() const { return mnuPopUp_; }
    QMenu* mnuLstV() const { return mnuLstV_; }
    QMenu* mnuFunc() const { return mnuFunc_; }

    // The check marks follow the window's state.
    void refresh();

private:
    template <typename Items>
    QMenu* buildMenu(const char* name, const Items& items);
    void bindCommands();
    void run(std::string_view name);
    QAction* item(std::string_view name) const;

    Form1& window_;
    QMenu* mnuPopUp_ = nullptr;
    QMenu* mnuLstV_ = nullptr;
    QMenu* mnuFunc_ = nullptr;
    std::map<std::string_view, std::function<void()>> commands_;
    std::map<std::string_view, QAction*> items_;
};

} // namespace volmara
