#pragma once

#include <QGroupBox>

namespace volmara {

class AppState;

// The clean-up actions as a row of command labels on the "Spec." page, until the main window's
// menus carry them.
class CleanupCommands final : public QGroupBox {
    Q_OBJECT
public:
    CleanupCommands(AppState& app, QWidget* parent = nullptr);
};

} // namespace volmara
