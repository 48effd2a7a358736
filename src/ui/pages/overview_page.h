#pragma once

#include <QWidget>

#include <string>
#include <vector>

class QLabel;
class QListWidget;

namespace volmara {

class Form1Model;
struct Form1State;

// Page `frmSp` 4 "Overview": the running figures of the statistics frame, and the drive summary
// lines `lstInfo` that the enumeration and the refresh append.
class OverviewPage final : public QWidget {
    Q_OBJECT
public:
    OverviewPage(Form1Model& model, QWidget* parent = nullptr);

    void refresh();

private:
    struct Figure {
        QLabel* value;
        std::string Form1State::*field;
    };

    Form1Model& model_;
    std::vector<Figure> figures_;
    QListWidget* lstInfo_ = nullptr;
};

} // namespace volmara
