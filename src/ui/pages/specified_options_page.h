#pragma once

#include <QWidget>

#include <vector>

class QStackedWidget;

namespace volmara {

class Form1Model;
class LinkLabel;

// Page `frmSp` 0, the specified options: a row of sub-tab labels over the sub-pages `fr` 0 to 2.
class SpecifiedOptionsPage final : public QWidget {
    Q_OBJECT
public:
    SpecifiedOptionsPage(Form1Model& model, QWidget* parent = nullptr);

    void lblSpectab_Click(int index);

private:
    std::vector<LinkLabel*> lblSpectab_;
    QStackedWidget* fr_ = nullptr;
};

} // namespace volmara
