#include "ui/notify/notify_pages.h"

#include "notify/notify_model.h"
#include "ui/binding.h"
#include "ui/notify/notify_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace volmara {

namespace {

QLabel* caption(const char* text, QWidget* parent) { return new QLabel(QString::fromLatin1(text), parent); }

QPushButton* button(const char* text, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

// --- "Notify Content:" -------------------------------------------------------------------------

NotifyContentPage::NotifyContentPage(NotifyModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption("Notify Info. Content(s)", this));
    lstNotContent_ = tickList(kLstNotContentItems.data(), kLstNotContentItems.size(), "lstNotContent", this);
    layout->addWidget(lstNotContent_, 1);
    connect(lstNotContent_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const auto index = static_cast<std::size_t>(lstNotContent_->row(item));
        guarded("lstNotContent", [&] { model_.lstNotContent_ItemCheck(index, item->checkState() == Qt::Checked); });
    });

    layout->addWidget(caption("Custom Text base File", this));
    auto* file = new QHBoxLayout;
    txtCustomContent_ = notifyTextBox(model_, NotifyText::txtCustomContent, "txtCustomContent", this);
    auto* browse = button("...", "cmdBrowse", this);
    connect(browse, &QPushButton::clicked, this, [this] { guarded("cmdBrowse", [&] { model_.cmdBrowse_Click(); }); });
    file->addWidget(txtCustomContent_, 1);
    file->addWidget(browse);
    layout->addLayout(file);

    auto* amount = new QHBoxLayout;
    amount->addWidget(caption("Specify NT Log Events Amout", this));
    txtCustEvtAmt_ = notifyTextBox(model_, NotifyText::txtCustEvtAmt, "txtCustEvtAmt", this);
    amount->addWidget(txtCustEvtAmt_);
    layout->addLayout(amount);
    refresh();
}

void NotifyContentPage::refresh()
{
    for (std::size_t i = 0; i < kLstNotContentItems.size(); ++i)
        showTick(lstNotContent_, static_cast<int>(i), model_.contentTicked(i));
    showNotifyText(txtCustomContent_, model_, NotifyText::txtCustomContent);
    showNotifyText(txtCustEvtAmt_, model_, NotifyText::txtCustEvtAmt);
}

// --- "Send Option(s):" -------------------------------------------------------------------------

SendOptionsPage::SendOptionsPage(NotifyModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption("Automatic Send Time Option(s)", this));
    lstNotTime_ = tickList(kLstNotTimeItems.data(), kLstNotTimeItems.size(), "lstNotTime", this);
    layout->addWidget(lstNotTime_, 1);
    connect(lstNotTime_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const auto index = static_cast<std::size_t>(lstNotTime_->row(item));
        guarded("lstNotTime", [&] { model_.lstNotTime_ItemCheck(index, item->checkState() == Qt::Checked); });
    });

    auto* pickers = new QGridLayout;
    DTPicker1_ = hourMinutePicker("DTPicker1", this);
    DTPicker2_ = hourMinutePicker("DTPicker2", this);
    pickers->addWidget(caption("Custom Time (Send Daily)", this), 0, 0);
    pickers->addWidget(DTPicker1_, 0, 1);
    pickers->addWidget(caption("(Send) Custom Time Interval", this), 1, 0);
    pickers->addWidget(DTPicker2_, 1, 1);
    layout->addLayout(pickers);
    connect(DTPicker1_, &QTimeEdit::timeChanged, this,
            [this](const QTime& t) { guarded("DTPicker1", [&] { model_.setDTPicker1(t.hour(), t.minute()); }); });
    connect(DTPicker2_, &QTimeEdit::timeChanged, this,
            [this](const QTime& t) { guarded("DTPicker2", [&] { model_.setDTPicker2(t.hour(), t.minute()); }); });
    refresh();
}

void SendOptionsPage::refresh()
{
    for (std::size_t i = 0; i < kLstNotTimeItems.size(); ++i)
        showTick(lstNotTime_, static_cast<int>(i), model_.sendOptionTicked(i));
    showHourMinute(DTPicker1_, model_.DTPicker1());
    showHourMinute(DTPicker2_, model_.DTPicker2());
}

// --- "Custom Message:" -------------------------------------------------------------------------

CustomMessagePage::CustomMessagePage(NotifyModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption("Custom Message:", this));
    // One line: set.dat keeps the message on one line.
    txtCustMsg_ = notifyTextBox(model_, NotifyText::txtCustMsg, "txtCustMsg", this);
    layout->addWidget(txtCustMsg_);
    layout->addStretch(1);
}

void CustomMessagePage::refresh() { showNotifyText(txtCustMsg_, model_, NotifyText::txtCustMsg); }

// --- "Email Acct. Info:" -----------------------------------------------------------------------

EmailAcctPage::EmailAcctPage(NotifyModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    struct Box {
        const char* caption;
        const char* name;
        NotifyText box;
    };
    static constexpr std::array<Box, 7> kBoxes{{
        {"Mail Server:", "txtMailServer", NotifyText::txtMailServer},
        {"Mail Server Port:", "txtMailPort", NotifyText::txtMailPort},
        {"Your Email:", "txtYourEmail", NotifyText::txtYourEmail},
        {"Username:", "txtUser", NotifyText::txtUser},
        {"Password:", "txtPass", NotifyText::txtPass},
        {"Mail  From Display:", "txtMailFromDisplayName", NotifyText::txtMailFromDisplayName},
        {"Mail Subject:", "txtMailSubj", NotifyText::txtMailSubj},
    }};
    auto* layout = new QHBoxLayout(this);
    auto* account = new QGridLayout;
    for (std::size_t i = 0; i < kBoxes.size(); ++i) {
        const auto& b = kBoxes[i];
        auto* edit = notifyTextBox(model_, b.box, b.name, this);
        if (b.box == NotifyText::txtPass)
            edit->setEchoMode(QLineEdit::Password);
        account->addWidget(caption(b.caption, this), static_cast<int>(i), 0);
        account_[i] = {edit, b.box};
        if (b.box != NotifyText::txtMailPort) {
            account->addWidget(edit, static_cast<int>(i), 1);
            continue;
        }
        // Beside the port: the encryption the port and the user name call for.
        auto* port = new QHBoxLayout;
        lblMailSecurity_ = new QLabel(this);
        lblMailSecurity_->setObjectName(QStringLiteral("lblMailSecurity"));
        // Room for five digits whatever the security text takes.
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
        port->addWidget(edit, 1);
        port->addWidget(lblMailSecurity_);
        account->addLayout(port, static_cast<int>(i), 1);
    }
    chkIsHTML_ = new QCheckBox(QStringLiteral("Send in HTML format"), this);
    chkIsHTML_->setObjectName(QStringLiteral("chkIsHTML"));
    connect(chkIsHTML_, &QCheckBox::clicked, this,
            [this](bool on) { guarded("chkIsHTML", [&] { model_.chkIsHTML_Click(on); }); });
    account->addWidget(chkIsHTML_, static_cast<int>(kBoxes.size()), 0, 1, 2);
    account->setRowStretch(static_cast<int>(kBoxes.size()) + 1, 1);
    layout->addLayout(account, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(buildRecipients(), 1);
    right->addWidget(buildProxy());
    layout->addLayout(right, 1);
    refresh();
}

QWidget* EmailAcctPage::buildRecipients()
{
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(caption("Email(s) to send to:", area));
    cboNotEmail_ = new QComboBox(area);
    cboNotEmail_->setObjectName(QStringLiteral("cboNotEmail"));
    cboNotEmail_->setEditable(true);
    // The model adds on Enter, as typed; the box itself inserts nothing.
    cboNotEmail_->setInsertPolicy(QComboBox::NoInsert);
    layout->addWidget(cboNotEmail_);
    connect(cboNotEmail_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        guarded("cboNotEmail", [&] { model_.setText(NotifyText::cboNotEmail, text.toStdString()); });
    });
    cboNotEmail_->lineEdit()->installEventFilter(this);
    connect(cboNotEmail_, &QComboBox::activated, this, [this](int index) {
        guarded("cboNotEmail", [&] {
            model_.selectRecipient(static_cast<std::size_t>(index));
            model_.setText(NotifyText::cboNotEmail, cboNotEmail_->itemText(index).toStdString());
        });
    });
    auto* buttons = new QHBoxLayout;
    auto* add = button("Add", "cmdAdd", area);
    auto* remove = button("Remove", "cmdRemove", area);
    auto* clear = button("Clear All", "cmdClearAll", area);
    connect(add, &QPushButton::clicked, this, [this] { guarded("cmdAdd", [&] { model_.cmdAdd_Click(); }); });
    connect(remove, &QPushButton::clicked, this, [this] { guarded("cmdRemove", [&] { model_.cmdRemove_Click(); }); });
    connect(clear, &QPushButton::clicked, this, [this] { guarded("cmdClearAll", [&] { model_.cmdClearAll_Click(); }); });
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addWidget(clear);
    layout->addLayout(buttons);
    layout->addStretch(1);
    return area;
}

QWidget* EmailAcctPage::buildProxy()
{
    auto* frame = new QGroupBox(QStringLiteral("Proxy"), this);
    auto* grid = new QGridLayout(frame);
    chkProxy_ = new QCheckBox(QStringLiteral("Use Proxy"), frame);
    chkProxy_->setObjectName(QStringLiteral("chkProxy"));
    connect(chkProxy_, &QCheckBox::clicked, this,
            [this](bool on) { guarded("chkProxy", [&] { model_.chkProxy_Click(on); }); });
    txtProxy_ = notifyTextBox(model_, NotifyText::txtProxy, "txtProxy", frame);
    txtPort_ = notifyTextBox(model_, NotifyText::txtPort, "txtPort", frame);
    grid->addWidget(chkProxy_, 0, 0, 1, 2);
    grid->addWidget(caption("Server:", frame), 1, 0);
    grid->addWidget(txtProxy_, 1, 1);
    grid->addWidget(caption("Port:", frame), 2, 0);
    grid->addWidget(txtPort_, 2, 1);
    return frame;
}

void EmailAcctPage::showRecipients()
{
    const auto& list = model_.recipients();
    quietly(cboNotEmail_, [&](QComboBox& box) {
        bool same = box.count() == static_cast<int>(list.size());
        for (int i = 0; same && i < box.count(); ++i)
            same = box.itemText(i) == qs(list[static_cast<std::size_t>(i)]);
        if (!same) {
            box.clear();
            for (const auto& address : list)
                box.addItem(qs(address));
        }
        const auto selected = model_.selectedRecipient();
        box.setCurrentIndex(selected ? static_cast<int>(*selected) : -1);
    });
    showNotifyText(cboNotEmail_->lineEdit(), model_, NotifyText::cboNotEmail);
}

bool EmailAcctPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == cboNotEmail_->lineEdit() && event->type() == QEvent::KeyPress) {
        const auto key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            guarded("cboNotEmail", [&] { model_.cboNotEmail_Enter(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void EmailAcctPage::refresh()
{
    for (const auto& [edit, box] : account_)
        showNotifyText(edit, model_, box);
    lblMailSecurity_->setText(qs(model_.mailSecurityText()));
    showRecipients();
    quietly(chkIsHTML_, [&](QCheckBox& c) { c.setChecked(model_.chkIsHTML() == 1); });
    quietly(chkProxy_, [&](QCheckBox& c) { c.setChecked(model_.chkProxy() == 1); });
    showNotifyText(txtProxy_, model_, NotifyText::txtProxy);
    showNotifyText(txtPort_, model_, NotifyText::txtPort);
    txtProxy_->setEnabled(model_.proxyBoxesEnabled());
    txtPort_->setEnabled(model_.proxyBoxesEnabled());
}

} // namespace volmara
