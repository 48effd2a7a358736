#pragma once

#include <QWidget>

class QComboBox;
class QTreeWidget;

namespace volmara {

class AppState;

// Sub-page `fr` 0, "Specified Program(s)": `cboProg`, the commands `Label5` 0 to 4 and `LVProg`.
class SpecifiedProgramsPage final : public QWidget {
    Q_OBJECT
public:
    SpecifiedProgramsPage(AppState& app, QWidget* parent = nullptr);

    QTreeWidget* list() const { return LVProg_; }

private:
    QWidget* buildCommands();
    void refresh();

    AppState& app_;
    QComboBox* cboProg_ = nullptr;
    QTreeWidget* LVProg_ = nullptr;
};

} // namespace volmara
