#pragma once

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QSlider;

namespace volmara {

class Form1Model;

// Sub-page `fr` 1 of page `frmSp` 0: file types, the trigger settings and the path to move files to.
class PathSpacePage final : public QWidget {
    Q_OBJECT
public:
    PathSpacePage(Form1Model& model, QWidget* parent = nullptr);

    void refresh();

private:
    QWidget* buildFileTypes();
    QWidget* buildTrigger();
    QWidget* buildPathToMove();

    Form1Model& model_;
    QLineEdit* txtFileType_ = nullptr;
    QSlider* Slider1_ = nullptr;
    QButtonGroup* OpDriv_ = nullptr;
    QCheckBox* chkDrive_ = nullptr;
    QLineEdit* txtSpace_ = nullptr;
    QLabel* lblSpaceMB_ = nullptr;
    QLabel* lblSpaceGB_ = nullptr;
    QLineEdit* txtDrive_ = nullptr;
};

} // namespace volmara
