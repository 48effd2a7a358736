#pragma once

#include "core/date_time.h"
#include "core/observer.h"
#include "core/task.h"
#include "notify/mail_outbox.h"
#include "notify/report_sections.h"
#include "notify/smtp_client.h"
#include "platform/event_loop.h"
#include "platform/network.h"

#include <array>
#include <coroutine>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

class AppState;

// The window's fixed texts.
inline constexpr std::string_view kFrmNotifyCaption = "Notification Settings";
inline constexpr std::array<std::string_view, 4> kTabStrip1Tabs{"Notify Content:", "Send Option(s):", "Custom Message:",
                                                                "Email Acct. Info:"};
inline constexpr std::array<std::string_view, 10> kLstNotContentItems{
    "Specified File(s) currently listed",
    "Specified Programs currently listed",
    "Info. on Listed Drive/Path(s)",
    "Alert(s) triggered",
    "Current Running Processes",
    "Current RAM usage",
    "Custom Content in text file",
    "Current User",
    "Session Length",
    "NT Log Events",
};
inline constexpr std::array<std::string_view, 5> kLstNotTimeItems{
    "Send Hourly",
    "Send Once Daily by Custom time!",
    "Send Once by Custom time interval",
    "Send on Alert (All)",
    "Send on ALert (High Only)",
};
inline constexpr std::size_t kCustomContentItem = 6;

// The list views the report's list sections read, with their tags.
inline constexpr std::string_view kWatchListTag = "Listed Drive/Path(s)";
inline constexpr std::string_view kAlertListTag = "Alerts";
inline constexpr std::string_view kFileListTag = "Listed Specified File(s)";
inline constexpr std::string_view kProgramListTag = "Listed Specified Program(s)";
inline constexpr std::array<std::string_view, 3> kAlertListCaptions{"Rating", "Time/Date", "Action Taken"};
inline constexpr std::array<std::string_view, 7> kFileListCaptions{
    "File/Folder(s)", "Size", "File Path Location", "Last Accessed", "Modified", "Created", "Type"};
inline constexpr std::array<std::string_view, 4> kProgramListCaptions{"Program", "Action", "File Path ", "Type"};

// The tabs of `TabStrip1`, in order.
enum class NotifyTab { NotifyContent = 0, SendOptions = 1, CustomMessage = 2, EmailAcctInfo = 3 };

// The window's text boxes. The recipient box's text (`cboNotEmail`'s edit line) is one of them.
enum class NotifyText {
    txtMailServer,
    txtMailPort,
    txtYourEmail,
    txtUser,
    txtPass,
    txtMailFromDisplayName,
    txtMailSubj,
    cboNotEmail,
    txtProxy,
    txtPort,
    txtCustomContent,
    txtCustEvtAmt,
    txtCustMsg,
};

// How a dispatch ended; the alert response awaits it.
struct DispatchResult {
    enum class Outcome { Ran, Incomplete, Busy };
    Outcome outcome = Outcome::Ran;
    int sent = 0;       // messages the server took
    int recipients = 0; // messages tried
};

// The model of `frmNotify`: every mail setting (bound to the settings record, so set.dat keeps
// them), the recipients, the content items and send options, the status line, the dispatcher,
// the report composer, and the schedule. It always exists; the window shows it.
class NotifyModel : public Observable {
public:
    explicit NotifyModel(AppState& app);
    ~NotifyModel();
    NotifyModel(const NotifyModel&) = delete;
    NotifyModel& operator=(const NotifyModel&) = delete;

    // After the settings are loaded: the schedule starts and the outbox is read. Before the
    // program ends: both stop; the outbox keeps its files for the next run.
    void Form_Load();
    void Form_Unload();
    // The settings have been loaded into the window (start-up got that far).
    bool loaded() const { return loaded_; }

    void show();
    bool visible() const { return visible_; }

    void TabStrip1_Click(NotifyTab tab);
    NotifyTab TabStrip1() const { return tab_; }

    const std::string& text(NotifyText box) const;
    // A line break typed or pasted into a box becomes a blank: set.dat keeps one value a line.
    void setText(NotifyText box, std::string value);

    // Recipients.
    const std::vector<std::string>& recipients() const;
    std::optional<std::size_t> selectedRecipient() const { return selected_; }
    void selectRecipient(std::optional<std::size_t> index);
    void cmdAdd_Click();
    void cboNotEmail_Enter(); // the Enter key in the recipient box
    void cmdRemove_Click();
    void cmdClearAll_Click();

    // Check boxes and tick lists.
    int chkIsHTML() const;
    void chkIsHTML_Click(bool checked);
    int chkProxy() const;
    void chkProxy_Click(bool checked);
    bool proxyBoxesEnabled() const { return chkProxy() == 1; }
    bool contentTicked(std::size_t index) const;
    void lstNotContent_ItemCheck(std::size_t index, bool ticked);
    bool sendOptionTicked(std::size_t index) const;
    void lstNotTime_ItemCheck(std::size_t index, bool ticked);
    const DateTime& DTPicker1() const;
    const DateTime& DTPicker2() const;
    void setDTPicker1(int hour, int minute);
    void setDTPicker2(int hour, int minute);

    // Buttons.
    void cmdBrowse_Click(); // "..."
    void cmdApply_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdSendNow_Click();
    void cmdNTEvt_Click();

    const std::string& StatusTxt() const { return status_; }
    // The encryption a dispatch with the settings as they stand uses, shown beside the port.
    std::string mailSecurityText() const
    {
        return mailSecurityCaption(text(chkProxy() == 1 ? NotifyText::txtPort : NotifyText::txtMailPort), text(NotifyText::txtUser));
    }
    // The last output of "NT Evt" (the window shows nothing of it).
    const std::optional<std::string>& networkStatistics() const { return netstat_; }

    // `prcSendEmailZ`: validates, composes, sends one message per recipient. A message that may go
    // through later waits in the outbox; one the server refused for good is recorded. A dispatch
    // asked for while one runs is refused (Busy) and leaves the running one alone; one asked for
    // while the outbox is being tried waits for the message in hand and then goes first.
    Task<DispatchResult> prcSendEmailZ();
    bool sending() const { return sending_; }
    // `prcNotPreContent`: the ticked content items, in order; errors of the sections that do not
    // contain their own abandon it.
    Task<std::string> prcNotPreContent();

    // The schedule.
    Timer tmrEmail;
    std::int32_t g_NotTime = 0;
    std::int32_t g_Inter = 0;
    void tmrEmail_Timer();

    // The outbox: messages that wait to be tried again, tried on this timer when they are due.
    static constexpr int kOutboxTickMs = 30000;
    Timer tmrOutbox;
    void tmrOutbox_Timer();
    std::size_t waitingMails() const { return outbox_.waiting(); }
    const MailOutbox& outbox() const { return outbox_; }

    // The conversation's socket and time-out timer.
    Timer tim_timeoutSend;
    TcpSocket& wsk_socketSend() { return *socket_; }

    // The specified files and programs lists belong to the main window's pages; until those
    // pages bind their lists here, the sections report them empty.
    std::function<std::vector<std::vector<std::string>>()> LVFileRows;
    std::function<std::vector<std::vector<std::string>>()> LVProgRows;

    // The alert response and the schedule start a dispatch this way.
    void startDispatch();

private:
    Task<void> askForCustomFile();
    Task<void> browse();
    Task<void> apply();
    Task<void> okTask();
    Task<void> sendNowTask();
    Task<void> netStatTask();
    Task<void> dispatchTask();
    Task<void> loadOutbox();
    Task<void> retryOutbox();
    void handSocketBack();
    std::string readyStatus(int sent, const std::string& failure) const;
    Task<std::string> section(std::size_t item);
    Task<std::string> customFileSection();
    Task<std::string> usersSection();
    Task<std::string> eventsSection();
    ListViewText listView(std::size_t item) const;
    std::int16_t eventAmount() const;
    std::string* field(NotifyText box);
    void setStatus(std::string text);

    AppState& app_;
    std::unique_ptr<TcpSocket> socket_;
    MailTimeout timeout_;
    SmtpClient client_;
    std::string recipientText_;
    std::string txtMailPort_ = "25";
    std::optional<std::size_t> selected_;
    NotifyTab tab_ = NotifyTab::NotifyContent;
    bool visible_ = false;
    bool loaded_ = false;
    bool sending_ = false;
    // The outbox is being tried; a dispatch that asked for the socket meanwhile waits here.
    struct SocketWait;
    bool outboxRound_ = false;
    bool stopRound_ = false;
    std::vector<std::shared_ptr<std::coroutine_handle<>>> socketWaiters_;
    MailOutbox outbox_;
    std::string status_;
    std::optional<std::string> netstat_;
    unsigned messageSequence_ = 0;
};

} // namespace volmara
