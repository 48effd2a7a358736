#pragma once

#include "core/date_time.h"
#include "core/task.h"
#include "notify/mail_result.h"
#include "notify/smtp_client.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

class AppState;

// A message that did not go out and waits to be tried again: everything the conversation needs
// except the password, which is taken from the window when the message is tried.
struct QueuedMail {
    std::string name; // the file's name inside the outbox folder
    MailMessage mail; // its password stays empty
    DateTime firstTry;
    int attempts = 0;
    DateTime nextDue;
    std::string reason; // why the last try failed
};

// Minutes before the next try after `attempts` tries: 1, 2, 4, ... and never more than 60.
std::chrono::minutes retryDelay(int attempts);
// A message still waiting this long after its first try is given up.
inline constexpr std::chrono::hours kGiveUpAfter{24};

// The record of a message the server refused for good.
std::string refusedRecord(const std::string& recipient, const std::string& reason);

// One outbox file. Line format, LF line ends, one key a line in this order:
//
//   volmara-outbox 1
//   server=  port=  from=  display=  to=  subject=  html=0|1  date=  messageid=  user=
//   firsttry=yyyy-mm-dd HH:mm:ss  attempts=N  due=yyyy-mm-dd HH:mm:ss  reason=  body=
//
// Every value is escaped so that it stays on its line: a backslash is written "\\", a carriage
// return "\r", a line feed "\n". The first line names the version; a file of another version, an
// unknown or missing key, or a value that does not read is damaged.
std::string outboxText(const QueuedMail& queued);
struct OutboxReading {
    std::optional<QueuedMail> queued; // without its name
    std::string problem;              // what is wrong with a damaged file
};
OutboxReading readOutboxText(std::string_view text);

// The outbox: one file per message and recipient in a folder beside set.dat, so that a message
// that could not be sent survives a restart. The files are written whole (a temporary file renamed
// into place) and readable by their owner only; all file work runs on the I/O workers. What
// happens to a message is recorded in the activity log.
class MailOutbox {
public:
    explicit MailOutbox(AppState& app);
    MailOutbox(const MailOutbox&) = delete;
    MailOutbox& operator=(const MailOutbox&) = delete;

    // The folder that holds the files; "outbox" beside the settings file.
    static std::string folderBeside(std::string_view settingsPath);
    void setFolder(std::string folder) { folder_ = std::move(folder); }
    const std::string& folder() const { return folder_; }

    // Reads the folder (making it when missing). A file that does not read is set aside as
    // "<name>.bad" with a record; messages kept meanwhile stay.
    Task<void> load();
    bool loaded() const { return loaded_; }

    // Keeps a message whose first try failed with a reason worth trying again. False when it could
    // not be written (recorded): the message is lost then.
    Task<bool> keep(MailMessage mail, std::string reason);

    std::size_t waiting() const { return queue_.size(); }
    const std::vector<QueuedMail>& queue() const { return queue_; }
    // The messages whose next try is due at `now`, earliest first, and those to give up.
    std::vector<std::string> due(const DateTime& now) const;
    std::vector<std::string> expired(const DateTime& now) const;
    const QueuedMail* find(std::string_view name) const;

    // What the try of a queued message ended with: delivered and refused for good end its stay;
    // another failure sets its next try.
    Task<void> settle(std::string name, MailResult result);
    // Gives up a message that has waited too long.
    Task<void> giveUp(std::string name);

private:
    Task<std::optional<std::string>> write(QueuedMail queued);
    Task<void> remove(std::string name);
    Task<void> setAside(std::string name, std::string problem);
    void record(const std::string& level, const std::string& action);
    std::string pathOf(std::string_view name) const;
    std::string ioKey() const;
    std::string newName(const DateTime& now);
    void drop(std::string_view name);

    AppState& app_;
    std::string folder_;
    std::vector<QueuedMail> queue_;
    bool loaded_ = false;
    unsigned sequence_ = 0;
};

} // namespace volmara
