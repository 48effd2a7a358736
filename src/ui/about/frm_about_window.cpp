#include "ui/about/frm_about_window.h"

#include "ui/binding.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace volmara {

namespace {

constexpr int kWidth = 460;
constexpr int kHeight = 300;

} // namespace

FrmAboutWindow& FrmAboutWindow::ensureFor(FrmAbout& model, QWidget& owner)
{
    if (auto* window = owner.findChild<FrmAboutWindow*>(QString(), Qt::FindDirectChildrenOnly))
        return *window;
    return *new FrmAboutWindow(model, &owner);
}

QLabel* FrmAboutWindow::label(const QString& name, const QString& text)
{
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    l->setWordWrap(true);
    // The fan follows the mouse over the texts too.
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    return l;
}

FrmAboutWindow::FrmAboutWindow(FrmAbout& model, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), model_(model)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(qs(kFrmAboutCaption));
    setMouseTracking(true);
    setFixedSize(kWidth, kHeight);

    auto* layout = new QVBoxLayout(this);
    auto* head = new QHBoxLayout;
    auto* picIcon = label(QStringLiteral("picIcon"), QString());
    const QIcon own = QApplication::windowIcon();
    const QIcon icon = own.isNull() ? style()->standardIcon(QStyle::SP_DriveHDIcon) : own;
    picIcon->setPixmap(icon.pixmap(48, 48));
    picIcon->setWordWrap(false);
    head->addWidget(picIcon, 0, Qt::AlignTop);
    auto* titles = new QVBoxLayout;
    auto* title = label(QStringLiteral("lblTitle0"), qs(kAboutTitle));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    title->setFont(big);
    titles->addWidget(title);
    lblVersion_ = label(QStringLiteral("lblVersion"), QString());
    titles->addWidget(lblVersion_);
    head->addLayout(titles, 1);
    layout->addLayout(head);

    layout->addWidget(label(QStringLiteral("lblDescription"), qs(kAboutDescription)));
    layout->addWidget(label(QStringLiteral("lblDisclaimer"), qs(kAboutDisclaimer)));
    layout->addStretch();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* sysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    buttons->addWidget(ok);
    buttons->addWidget(sysInfo);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, [this] { guarded("cmdOK", [&] { model_.cmdOK_Click(); }); });
    connect(sysInfo, &QPushButton::clicked, this, [this] { guarded("cmdSysInfo", [&] { model_.cmdSysInfo_Click(); }); });

    refreshOn(model_, this, [](FrmAboutWindow& w) { w.refresh(); });
    refresh();
}

void FrmAboutWindow::refresh()
{
    lblVersion_->setText(qs(model_.lblVersion()));
    update();
    if (model_.visible() && !isVisible()) {
        show();
        raise();
        activateWindow();
    } else if (!model_.visible() && isVisible()) {
        hide();
    }
}

void FrmAboutWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!model_.loaded())
        guarded("frmAbout", [&] { model_.Form_Load(width(), height()); });
}

void FrmAboutWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    for (const auto& line : model_.lines())
        painter.drawLine(QPointF(line.p1.x, line.p1.y), QPointF(line.p2.x, line.p2.y));
}

void FrmAboutWindow::mouseMoveEvent(QMouseEvent* event)
{
    const auto at = event->position();
    guarded("frmAbout", [&] { model_.Form_MouseMove(at.x(), at.y()); });
}

void FrmAboutWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    guarded("frmAbout", [&] { model_.cmdOK_Click(); });
}

} // namespace volmara
