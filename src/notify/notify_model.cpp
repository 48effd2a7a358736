#include "notify/notify_model.h"

#include "core/app_state.h"
#include "core/error.h"
#include "core/format.h"
#include "core/pause_control.h"
#include "core/path_rules.h"
#include "notify/smtp_wire.h"

#include <algorithm>
#include <random>

namespace volmara {

namespace {

const std::string kLineBreak = "\r\n";

// Waits of the report's blocking reads; a read that misses its bound counts as unavailable.
constexpr std::chrono::milliseconds kFileBound{5000};
constexpr std::chrono::milliseconds kSystemBound{10000};
constexpr std::chrono::milliseconds kNetStatBound{15000};

std::string replaceAll(std::string text, std::string_view what, std::string_view with)
{
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

std::string withoutLineBreaks(std::string text)
{
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

// The port text as the conversation takes it; nullopt when it is no number a port can be.
std::optional<std::int32_t> portNumber(const std::string& text)
{
    const auto value = parseNumber(text);
    if (!value || *value < -2147483648.0 || *value > 2147483647.0)
        return std::nullopt;
    return static_cast<std::int32_t>(roundHalfEven(*value));
}

std::vector<std::string> captions(const auto& fixed)
{
    return std::vector<std::string>(fixed.begin(), fixed.end());
}

const std::string kNoOutboxServer = "no mail server to keep it for";

struct BusyFlag {
    explicit BusyFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyFlag() { flag_ = false; }
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;
    bool& flag_;
};

std::string notSentTo(const std::string& recipient, const std::string& reason)
{
    return "not sent to " + recipient + ": " + reason;
}

} // namespace

// Suspends a dispatch until the outbox round hands the socket back. A frame destroyed while it
// waits (shut-down) is not resumed by the hand-over.
struct NotifyModel::SocketWait {
    NotifyModel& model;
    std::shared_ptr<std::coroutine_handle<>> slot;

    explicit SocketWait(NotifyModel& m) : model(m) {}
    SocketWait(const SocketWait&) = delete;
    SocketWait& operator=(const SocketWait&) = delete;
    ~SocketWait()
    {
        if (slot)
            *slot = {};
    }
    bool await_ready() const noexcept { return !model.outboxRound_; }
    void await_suspend(std::coroutine_handle<> h)
    {
        slot = std::make_shared<std::coroutine_handle<>>(h);
        model.socketWaiters_.push_back(slot);
    }
    void await_resume() const noexcept {}
};

namespace {

// The outbox round holds the socket from its start to its end, however it ends.
struct RoundFlag {
    RoundFlag(bool& round, std::function<void()> onEnd) : round_(round), onEnd_(std::move(onEnd)) { round_ = true; }
    ~RoundFlag() { onEnd_(); }
    RoundFlag(const RoundFlag&) = delete;
    RoundFlag& operator=(const RoundFlag&) = delete;
    bool& round_;
    std::function<void()> onEnd_;
};

} // namespace

NotifyModel::NotifyModel(AppState& app)
    : tmrEmail(app.sv.loop, 60000)
    , tmrOutbox(app.sv.loop, kOutboxTickMs)
    , tim_timeoutSend(app.sv.loop, 60000)
    , app_(app)
    , socket_(app.sv.network.createSocket(app.sv.loop, app.sv.io))
    , timeout_(tim_timeoutSend, *socket_)
    , client_(*socket_, timeout_)
    , outbox_(app)
{
    tmrEmail.onTick([this] { tmrEmail_Timer(); });
    tmrOutbox.onTick([this] { tmrOutbox_Timer(); });
}

NotifyModel::~NotifyModel() = default;

void NotifyModel::Form_Load()
{
    g_NotTime = 0;
    g_Inter = 0;
    loaded_ = true;
    tmrEmail.setEnabled(true);
    outbox_.setFolder(app_.settingsPath.empty() ? app_.sv.programFolder + "/outbox"
                                                : MailOutbox::folderBeside(app_.settingsPath));
    app_.tasks.spawn(loadOutbox());
    tmrOutbox.setEnabled(true);
    notify();
}

void NotifyModel::Form_Unload()
{
    tmrEmail.setEnabled(false);
    tmrOutbox.setEnabled(false);
    tim_timeoutSend.setEnabled(false);
    socket_->Close();
}

void NotifyModel::show()
{
    visible_ = true;
    notify();
}

void NotifyModel::TabStrip1_Click(NotifyTab tab)
{
    tab_ = tab;
    notify();
}

// --- text boxes --------------------------------------------------------------------------------

std::string* NotifyModel::field(NotifyText box)
{
    auto& s = app_.settings;
    switch (box) {
    case NotifyText::txtMailServer: return &s.txtMailServer;
    case NotifyText::txtMailPort: return &txtMailPort_;
    case NotifyText::txtYourEmail: return &s.txtYourEmail;
    case NotifyText::txtUser: return &s.txtUser;
    case NotifyText::txtPass: return &s.txtPass;
    case NotifyText::txtMailFromDisplayName: return &s.txtMailFromDisplayName;
    case NotifyText::txtMailSubj: return &s.txtMailSubj;
    case NotifyText::cboNotEmail: return &recipientText_;
    case NotifyText::txtProxy: return &s.txtProxy;
    case NotifyText::txtPort: return &s.txtPort;
    case NotifyText::txtCustomContent: return &s.txtCustomContent;
    case NotifyText::txtCustEvtAmt: return &s.txtCustEvtAmt;
    case NotifyText::txtCustMsg: return &s.txtCustMsg;
    }
    throw Error(ErrorKind::InvalidArgument, "unknown text box");
}

const std::string& NotifyModel::text(NotifyText box) const { return *const_cast<NotifyModel*>(this)->field(box); }

void NotifyModel::setText(NotifyText box, std::string value)
{
    auto& target = *field(box);
    value = withoutLineBreaks(std::move(value));
    if (target == value)
        return;
    target = std::move(value);
    notify();
}

// --- recipients --------------------------------------------------------------------------------

const std::vector<std::string>& NotifyModel::recipients() const { return app_.settings.cboNotEmail; }

void NotifyModel::selectRecipient(std::optional<std::size_t> index)
{
    selected_ = index && *index < recipients().size() ? index : std::nullopt;
    notify();
}

void NotifyModel::cmdAdd_Click()
{
    if (recipientText_.find('@') == std::string::npos || recipientText_.find('.') == std::string::npos)
        return;
    app_.settings.cboNotEmail.push_back(trim(recipientText_));
    notify();
}

void NotifyModel::cboNotEmail_Enter()
{
    app_.settings.cboNotEmail.push_back(recipientText_);
    notify();
}

void NotifyModel::cmdRemove_Click()
{
    if (!selected_ || *selected_ >= recipients().size())
        return;
    auto& list = app_.settings.cboNotEmail;
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(*selected_));
    selected_.reset();
    notify();
}

void NotifyModel::cmdClearAll_Click()
{
    app_.settings.cboNotEmail.clear();
    selected_.reset();
    notify();
}

// --- check boxes and tick lists ----------------------------------------------------------------

int NotifyModel::chkIsHTML() const { return app_.settings.chkIsHTML; }

void NotifyModel::chkIsHTML_Click(bool checked)
{
    app_.settings.chkIsHTML = checked ? 1 : 0;
    notify();
}

int NotifyModel::chkProxy() const { return app_.settings.chkProxy; }

void NotifyModel::chkProxy_Click(bool checked)
{
    app_.settings.chkProxy = checked ? 1 : 0;
    notify();
}

bool NotifyModel::contentTicked(std::size_t index) const
{
    return index < app_.settings.lstNotContent.size() && app_.settings.lstNotContent[index];
}

void NotifyModel::lstNotContent_ItemCheck(std::size_t index, bool ticked)
{
    if (index >= app_.settings.lstNotContent.size())
        return;
    app_.settings.lstNotContent[index] = ticked;
    notify();
    if (index == kCustomContentItem && ticked && app_.settings.txtCustomContent.empty())
        app_.tasks.spawn(askForCustomFile());
}

bool NotifyModel::sendOptionTicked(std::size_t index) const
{
    return index < app_.settings.lstNotTime.size() && app_.settings.lstNotTime[index];
}

void NotifyModel::lstNotTime_ItemCheck(std::size_t index, bool ticked)
{
    if (index >= app_.settings.lstNotTime.size())
        return;
    app_.settings.lstNotTime[index] = ticked;
    notify();
}

const DateTime& NotifyModel::DTPicker1() const { return app_.settings.DTPicker1; }
const DateTime& NotifyModel::DTPicker2() const { return app_.settings.DTPicker2; }

void NotifyModel::setDTPicker1(int hour, int minute)
{
    app_.settings.DTPicker1 = DateTime::timeOfDay(hour, minute);
    notify();
}

void NotifyModel::setDTPicker2(int hour, int minute)
{
    app_.settings.DTPicker2 = DateTime::timeOfDay(hour, minute);
    notify();
}

// --- commands ----------------------------------------------------------------------------------

Task<void> NotifyModel::askForCustomFile()
{
    timerHold(app_);
    const auto answer = co_await app_.sv.dialogs.ask("A text base file must be specified.  Select a file now?",
                                                     MsgIcon::Question, MsgButtons::YesNo);
    timerHold(app_);
    if (answer == MsgAnswer::Yes)
        co_await browse();
    if (app_.settings.txtCustomContent.empty()) {
        app_.settings.lstNotContent[kCustomContentItem] = false;
        notify();
    }
}

void NotifyModel::cmdBrowse_Click() { app_.tasks.spawn(browse()); }

Task<void> NotifyModel::browse()
{
    // The two entries of the chooser: the four text types, and all files.
    std::vector<std::string> filters{std::string("*.txt,*.xml,*.html,*.htm (*.txt *.xml *.html *.htm)"),
                                     std::string("*.* (*)")};
    const auto chosen = co_await app_.sv.dialogs.browseFile(std::move(filters));
    if (chosen && !chosen->empty()) {
        app_.settings.txtCustomContent = withoutLineBreaks(*chosen);
        notify();
    }
}

void NotifyModel::cmdApply_Click() { app_.tasks.spawn(apply()); }

Task<void> NotifyModel::apply()
{
    const auto& s = app_.settings;
    if (!txtMailPort_.empty() && !s.txtMailServer.empty() && !s.txtMailFromDisplayName.empty() && !s.txtUser.empty() &&
        !s.txtPass.empty())
        co_return;
    timerHold(app_);
    const auto answer = co_await app_.sv.dialogs.ask(
        "You have not fill in all your email account settings" + kLineBreak +
            "Mail Server, UserName, Password, To: Email(s), etc." + kLineBreak + "Do you wish to leave it like it is",
        MsgIcon::Information, MsgButtons::YesNo);
    if (answer == MsgAnswer::No)
        timerHold(app_);
}

void NotifyModel::cmdOK_Click() { app_.tasks.spawn(okTask()); }

Task<void> NotifyModel::okTask()
{
    co_await apply();
    visible_ = false;
    notify();
}

void NotifyModel::cmdCancel_Click()
{
    visible_ = false;
    notify();
}

void NotifyModel::cmdSendNow_Click() { app_.tasks.spawn(sendNowTask()); }

Task<void> NotifyModel::sendNowTask()
{
    timerHold(app_);
    const auto answer = co_await app_.sv.dialogs.ask("Are you sure you want to send notifications now?",
                                                     MsgIcon::Question, MsgButtons::YesNo);
    if (answer != MsgAnswer::Yes) {
        timerHold(app_);
        co_return;
    }
    co_await prcSendEmailZ();
}

void NotifyModel::cmdNTEvt_Click() { app_.tasks.spawn(netStatTask()); }

Task<void> NotifyModel::netStatTask()
{
    auto& system = app_.sv.systemInfo;
    // Calls are named before they are awaited: GCC 12 mishandles temporaries inside co_await.
    const auto call = app_.sv.io.start("system:netstat", [&system] { return system.networkStatistics(); }, kNetStatBound);
    const auto reply = co_await call;
    netstat_ = reply.answered() ? *reply.value : std::nullopt;
    notify();
}

void NotifyModel::setStatus(std::string text)
{
    status_ = std::move(text);
    notify();
}

// --- the schedule ------------------------------------------------------------------------------

void NotifyModel::tmrEmail_Timer()
{
    tmrEmail.setEnabled(false);
    ++g_NotTime;
    bool due = false;
    const auto& options = app_.settings.lstNotTime;
    for (std::size_t i = 0; i < options.size() && !due; ++i) {
        if (!options[i])
            continue;
        switch (i) {
        case 0: // hourly
            due = g_NotTime >= 60;
            break;
        case 1: // daily at the picker's minute
            due = app_.now("HH:mm") == formatDate(app_.settings.DTPicker1, "HH:mm", app_.sv.locale);
            break;
        case 2: { // every interval of the picker's hours and minutes; none when it is zero
            ++g_Inter;
            const int interval = app_.settings.DTPicker2.hour * 60 + app_.settings.DTPicker2.minute;
            due = interval > 0 && g_Inter >= interval;
            if (due)
                g_Inter = 0;
            break;
        }
        default: // 3 and 4 belong to the alert response
            break;
        }
    }
    if (due)
        startDispatch();
    if (g_NotTime >= 60)
        g_NotTime = 0;
    tmrEmail.setEnabled(true);
}

void NotifyModel::startDispatch() { app_.tasks.spawn(dispatchTask()); }

Task<void> NotifyModel::dispatchTask() { co_await prcSendEmailZ(); }

// --- composing ---------------------------------------------------------------------------------

std::int16_t NotifyModel::eventAmount() const
{
    const auto value = parseNumber(app_.settings.txtCustEvtAmt, app_.sv.locale);
    if (!value)
        return 4;
    const auto whole = roundHalfEven(*value);
    if (whole < -32768 || whole > 32767)
        throw Error(ErrorKind::Other, "Overflow");
    return static_cast<std::int16_t>(whole);
}

ListViewText NotifyModel::listView(std::size_t item) const
{
    // Items 0 to 3 report these lists, whatever their captions say.
    ListViewText list;
    switch (item) {
    case 0: {
        list.tag = std::string(kWatchListTag);
        list.captions = captions(kWatchListHeaders);
        list.captions[WatchList::TriggerSpace] = app_.form1.triggerHeader;
        for (const auto& entry : app_.ListView1.rows()) {
            auto& row = list.rows.emplace_back();
            for (int c = 0; c < WatchList::ColumnCount; ++c)
                row.push_back(WatchList::cellText(entry, c));
        }
        break;
    }
    case 1:
        list.tag = std::string(kAlertListTag);
        list.captions = captions(kAlertListCaptions);
        for (const auto& alert : app_.log.LVAlert())
            list.rows.push_back({alert.level, alert.time, alert.action});
        break;
    case 2:
        list.tag = std::string(kFileListTag);
        list.captions = captions(kFileListCaptions);
        if (LVFileRows)
            list.rows = LVFileRows();
        break;
    default:
        list.tag = std::string(kProgramListTag);
        list.captions = captions(kProgramListCaptions);
        if (LVProgRows)
            list.rows = LVProgRows();
        break;
    }
    return list;
}

Task<std::string> NotifyModel::customFileSection()
{
    const auto untrimmed = app_.settings.txtCustomContent;
    const auto path = trim(untrimmed);
    auto& system = app_.sv.systemInfo;
    const auto call = app_.sv.io.start(app_.sv.volumes.mountPointOf(path),
                                       [&system, path] { return system.readFile(path, kCustomFileCap); }, kFileBound);
    const auto reply = co_await call;
    // A file system that does not answer is no file to read.
    co_return prcNotOpenCustFile(untrimmed, reply.answered() ? *reply.value : CappedFile{});
}

Task<std::string> NotifyModel::usersSection()
{
    auto& system = app_.sv.systemInfo;
    const auto call = app_.sv.io.start("system:users", [&system] { return system.loggedOnUsers(); }, kSystemBound);
    const auto reply = co_await call;
    co_return prcWMI_LogOnUser(reply.answered() ? *reply.value : std::vector<LoggedOnUser>{});
}

Task<std::string> NotifyModel::eventsSection()
{
    const auto amount = eventAmount();
    const auto count = static_cast<std::size_t>(std::max<int>(amount, 0));
    auto& system = app_.sv.systemInfo;
    const auto call = app_.sv.io.start("system:journal", [&system, count] { return system.journal(count); }, kSystemBound);
    const auto reply = co_await call;
    co_return prcWMI_NTEvt(amount, reply.answered() ? *reply.value : std::nullopt);
}

Task<std::string> NotifyModel::section(std::size_t item)
{
    auto& system = app_.sv.systemInfo;
    switch (item) {
    case 0:
    case 1:
    case 2:
    case 3:
        co_return prcNotContent(listView(item));
    case 4:
        co_return runningProcessesSection(system.processes(kProcessSlots));
    case 5: {
        const auto figures = system.memoryFigures();
        co_await app_.sv.loop.yield();
        co_return memorySection(figures, app_.sv.locale);
    }
    case 6:
        co_return co_await customFileSection();
    case 7:
        co_return co_await usersSection() + kLineBreak + std::string(kReportSeparator);
    case 8:
        co_return prcTimeRunning(system.millisecondsSinceBoot(), app_.sv.locale);
    default:
        co_return co_await eventsSection();
    }
}

Task<std::string> NotifyModel::prcNotPreContent()
{
    std::string body;
    for (std::size_t item = 0; item < app_.settings.lstNotContent.size(); ++item) {
        std::string part;
        if (app_.settings.lstNotContent[item])
            part = co_await section(item);
        body += part + kLineBreak + kLineBreak;
    }
    co_return body;
}

// --- dispatching -------------------------------------------------------------------------------

Task<DispatchResult> NotifyModel::prcSendEmailZ()
{
    if (sending_ && outboxRound_) {
        // A report goes before retries: the round stops after the message in hand.
        stopRound_ = true;
        SocketWait turn(*this);
        co_await turn;
    }
    if (sending_) {
        // The one socket serves one conversation: the running dispatch goes on undisturbed.
        setStatus("Busy sending mail - this request was not sent");
        co_return DispatchResult{DispatchResult::Outcome::Busy, 0, 0};
    }
    const BusyFlag busy(sending_);
    const auto& s = app_.settings;
    if (trim(s.txtMailServer).empty()) {
        setStatus("No SMTP server selected for outgoing mail");
        co_return DispatchResult{DispatchResult::Outcome::Incomplete, 0, 0};
    }
    if (trim(txtMailPort_).empty()) {
        setStatus("No SMTP server PORT selected for outgoing mail (default = 25)");
        co_return DispatchResult{DispatchResult::Outcome::Incomplete, 0, 0};
    }
    if (trim(s.txtYourEmail).empty()) {
        setStatus("No EMAIL address selected for outgoing mail");
        co_return DispatchResult{DispatchResult::Outcome::Incomplete, 0, 0};
    }

    std::string sections;
    try {
        sections = co_await prcNotPreContent();
    } catch (const std::exception&) {
        sections.clear(); // the body goes out with the custom message alone
    }
    std::string body = sections + kLineBreak + "Custom Message: " + kLineBreak + s.txtCustMsg;
    setStatus("Busy sending mail...");

    // What the window holds now is what this dispatch sends, whatever is edited meanwhile.
    const auto list = s.cboNotEmail;
    const bool html = s.chkIsHTML == 1;
    const bool proxy = s.chkProxy == 1;
    const auto server = proxy ? s.txtProxy : s.txtMailServer;
    const auto port = portNumber(proxy ? s.txtPort : txtMailPort_);
    const auto from = s.txtYourEmail;
    const auto display = s.txtMailFromDisplayName;
    const auto subject = s.txtMailSubj;
    const auto user = trim(s.txtUser);
    const auto password = s.txtPass;
    if (html)
        body = replaceAll(std::move(body), kLineBreak, "<br>");

    const int count = static_cast<int>(list.size());
    int sent = 0;
    std::string failure; // the last one, for the closing status
    std::random_device entropy;
    for (int i = 0; i < count; ++i) {
        const auto recipient = trim(list[static_cast<std::size_t>(i)]);
        bool delivered = false;
        if (hasLineBreak(recipient) || hasLineBreak(from) || hasLineBreak(display) || hasLineBreak(subject) ||
            hasLineBreak(server)) {
            failure = notSentTo(withoutLineBreaks(recipient), "a line break in the addresses, the subject or the display name");
            setStatus("Not sent to " + withoutLineBreaks(recipient) +
                      ": a line break in the addresses, the subject or the display name");
        } else if (!port) {
            failure = notSentTo(recipient, "the port is no number");
        } else {
            const auto now = app_.sv.clock.now();
            MailMessage mail;
            mail.mailsmtp = server;
            mail.mailport = *port;
            mail.mailto = recipient;
            mail.mailfrom = from;
            mail.mailfromDisplayName = display;
            mail.mailsubject = subject;
            mail.mailbody = body;
            mail.IsHTML = html;
            mail.user = user;
            mail.heloName = app_.sv.systemInfo.hostName();
            mail.password = password;
            mail.date = mailDate(now, app_.sv.systemInfo.utcOffsetMinutes());
            const std::uint64_t random = (static_cast<std::uint64_t>(entropy()) << 32) ^ entropy();
            mail.messageId = messageId(now, ++messageSequence_, random, from, app_.sv.systemInfo.hostName());
            auto conversation = client_.deliver(mail);
            const auto result = co_await conversation;
            delivered = result.delivered();
            if (!delivered)
                failure = notSentTo(recipient, result.reason);
            if (result.outcome == MailResult::Outcome::Retry && !trim(server).empty()) {
                auto keeping = outbox_.keep(std::move(mail), result.reason);
                co_await keeping;
            } else if (result.outcome == MailResult::Outcome::Retry) {
                failure = notSentTo(recipient, result.reason + "; " + kNoOutboxServer);
            } else if (result.outcome == MailResult::Outcome::Final) {
                try {
                    app_.log.prcAlertInfo(app_.now("yyyymmdd HH:mm"), "High", refusedRecord(recipient, result.reason), 0,
                                          nullptr);
                } catch (const std::exception&) {
                    // Only log.dat missed its line.
                }
            }
        }
        if (delivered) {
            ++sent;
            try {
                app_.log.prcAlertInfo(app_.now("yyyymmdd HH:mm"), "Medium", "Notfication Message Send to: " + recipient, 0,
                                      nullptr);
            } catch (const std::exception&) {
                // The record is in the list; only log.dat missed its line. The mail went out all the same.
            }
        }
        setStatus("Busy sending mail - Email sent: " + std::to_string(i + 1) + "/" + std::to_string(count));
    }
    setStatus(readyStatus(sent, failure));
    co_return DispatchResult{DispatchResult::Outcome::Ran, sent, count};
}

std::string NotifyModel::readyStatus(int sent, const std::string& failure) const
{
    auto text = "Ready - Emails sent: " + std::to_string(sent);
    if (const auto waiting = outbox_.waiting(); waiting > 0)
        text += " (" + std::to_string(waiting) + " waiting in the outbox)";
    if (!failure.empty())
        text += " - " + failure;
    return text;
}

// --- the outbox --------------------------------------------------------------------------------

Task<void> NotifyModel::loadOutbox()
{
    auto loading = outbox_.load();
    co_await loading;
    if (outbox_.waiting() > 0 && !sending_)
        setStatus("Ready - " + std::to_string(outbox_.waiting()) + " waiting in the outbox");
}

void NotifyModel::tmrOutbox_Timer()
{
    if (sending_ || !outbox_.loaded())
        return;
    const auto now = app_.sv.clock.now();
    if (outbox_.due(now).empty() && outbox_.expired(now).empty())
        return;
    app_.tasks.spawn(retryOutbox());
}

void NotifyModel::handSocketBack()
{
    outboxRound_ = false;
    stopRound_ = false;
    for (auto& slot : std::exchange(socketWaiters_, {})) {
        app_.sv.loop.post([slot] {
            if (auto waiter = std::exchange(*slot, {}))
                waiter.resume();
        });
    }
}

Task<void> NotifyModel::retryOutbox()
{
    if (sending_)
        co_return;
    const BusyFlag busy(sending_);
    const RoundFlag round(outboxRound_, [this] { handSocketBack(); });
    const auto now = app_.sv.clock.now();
    std::string failure;
    const auto expired = outbox_.expired(now);
    for (const auto& name : expired) {
        if (const auto* queued = outbox_.find(name))
            failure = "given up on " + queued->mail.mailto + " after " + std::to_string(kGiveUpAfter.count()) + " hours";
        auto givingUp = outbox_.giveUp(name);
        co_await givingUp;
    }

    const auto due = outbox_.due(now);
    if (!due.empty())
        setStatus("Busy sending mail from the outbox...");
    int sent = 0;
    for (const auto& name : due) {
        if (stopRound_)
            break;
        const auto* queued = outbox_.find(name);
        if (!queued)
            continue;
        auto mail = queued->mail;
        // The password is the one the window holds now; the file never had it.
        mail.password = app_.settings.txtPass;
        const auto recipient = mail.mailto;
        auto conversation = client_.deliver(std::move(mail));
        const auto result = co_await conversation;
        if (result.delivered())
            ++sent;
        else
            failure = notSentTo(recipient, result.reason);
        auto settling = outbox_.settle(name, result);
        co_await settling;
    }
    setStatus(readyStatus(sent, failure));
}

} // namespace volmara
