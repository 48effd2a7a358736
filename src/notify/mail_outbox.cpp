#include "notify/mail_outbox.h"

#include "core/app_state.h"
#include "core/error.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <map>
#include <random>

namespace volmara {

namespace {

constexpr std::string_view kHeader = "volmara-outbox 1";
constexpr std::string_view kSuffix = ".msg";
constexpr std::string_view kSetAsideSuffix = ".bad";
// A file call that has not answered by then counts as failed; the next tick tries again.
constexpr std::chrono::milliseconds kFileBound{5000};
constexpr int kLongestDelayMinutes = 60;

constexpr std::array<std::string_view, 15> kKeys{"server", "port",     "from",     "display", "to",
                                                "subject", "html",     "date",     "messageid", "user",
                                                "firsttry", "attempts", "due",      "reason",  "body"};

std::string escaped(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (const char c : value) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::optional<std::string> unescaped(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            out += value[i];
            continue;
        }
        if (++i == value.size())
            return std::nullopt;
        switch (value[i]) {
        case '\\': out += '\\'; break;
        case 'r': out += '\r'; break;
        case 'n': out += '\n'; break;
        default: return std::nullopt;
        }
    }
    return out;
}

std::optional<int> wholeNumber(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::string twoDigits(int value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

} // namespace

std::chrono::minutes retryDelay(int attempts)
{
    int minutes = 1;
    for (int i = 1; i < attempts && minutes < kLongestDelayMinutes; ++i)
        minutes *= 2;
    return std::chrono::minutes(std::min(minutes, kLongestDelayMinutes));
}

std::string refusedRecord(const std::string& recipient, const std::string& reason)
{
    return "Notification Message not Sent to: " + recipient + ": " + reason;
}

std::string outboxText(const QueuedMail& queued)
{
    const auto& m = queued.mail;
    const std::vector<std::pair<std::string_view, std::string>> values{
        {"server", m.mailsmtp},
        {"port", std::to_string(m.mailport)},
        {"from", m.mailfrom},
        {"display", m.mailfromDisplayName},
        {"to", m.mailto},
        {"subject", m.mailsubject},
        {"html", m.IsHTML ? "1" : "0"},
        {"date", m.date},
        {"messageid", m.messageId},
        {"user", m.user},
        {"firsttry", defaultDateText(queued.firstTry)},
        {"attempts", std::to_string(queued.attempts)},
        {"due", defaultDateText(queued.nextDue)},
        {"reason", queued.reason},
        {"body", m.mailbody},
    };
    std::string text(kHeader);
    text += '\n';
    for (const auto& [key, value] : values)
        text += std::string(key) + "=" + escaped(value) + "\n";
    return text;
}

OutboxReading readOutboxText(std::string_view text)
{
    const auto damaged = [](std::string problem) { return OutboxReading{std::nullopt, std::move(problem)}; };
    const auto firstEnd = text.find('\n');
    if (text.substr(0, firstEnd) != kHeader)
        return damaged("not an outbox file of version 1");

    std::map<std::string, std::string, std::less<>> values;
    std::size_t at = firstEnd == std::string_view::npos ? text.size() : firstEnd + 1;
    while (at < text.size()) {
        auto end = text.find('\n', at);
        if (end == std::string_view::npos)
            return damaged("the last line is cut off");
        const auto line = text.substr(at, end - at);
        at = end + 1;
        const auto equals = line.find('=');
        const auto key = line.substr(0, equals);
        if (equals == std::string_view::npos || std::find(kKeys.begin(), kKeys.end(), key) == kKeys.end())
            return damaged("unknown line \"" + std::string(line.substr(0, 40)) + "\"");
        auto value = unescaped(line.substr(equals + 1));
        if (!value)
            return damaged("a broken escape in " + std::string(key));
        if (!values.emplace(std::string(key), std::move(*value)).second)
            return damaged(std::string(key) + " given twice");
    }
    for (const auto key : kKeys) {
        if (!values.count(key))
            return damaged("no " + std::string(key));
    }

    QueuedMail q;
    auto& m = q.mail;
    m.mailsmtp = values["server"];
    m.mailfrom = values["from"];
    m.mailfromDisplayName = values["display"];
    m.mailto = values["to"];
    m.mailsubject = values["subject"];
    m.date = values["date"];
    m.messageId = values["messageid"];
    m.user = values["user"];
    m.mailbody = values["body"];
    q.reason = values["reason"];
    const auto port = wholeNumber(values["port"]);
    const auto attempts = wholeNumber(values["attempts"]);
    const auto firstTry = parseDateText(values["firsttry"]);
    const auto due = parseDateText(values["due"]);
    const auto& html = values["html"];
    if (!port)
        return damaged("the port is no number");
    if (!attempts || *attempts < 0)
        return damaged("the attempts are no count");
    if (!firstTry || !due)
        return damaged("a time does not read");
    if (html != "0" && html != "1")
        return damaged("html is neither 0 nor 1");
    if (m.mailto.empty())
        return damaged("no recipient");
    m.mailport = *port;
    m.IsHTML = html == "1";
    q.attempts = *attempts;
    q.firstTry = *firstTry;
    q.nextDue = *due;
    return OutboxReading{std::move(q), {}};
}

MailOutbox::MailOutbox(AppState& app) : app_(app) {}

std::string MailOutbox::folderBeside(std::string_view settingsPath)
{
    const auto slash = settingsPath.find_last_of('/');
    const auto folder = slash == std::string_view::npos ? std::string_view(".") : settingsPath.substr(0, slash);
    return std::string(folder) + "/outbox";
}

std::string MailOutbox::pathOf(std::string_view name) const { return folder_ + "/" + std::string(name); }

std::string MailOutbox::ioKey() const
{
    auto key = app_.sv.volumes.mountPointOf(folder_);
    return key.empty() ? folder_ : key;
}

std::string MailOutbox::newName(const DateTime& now)
{
    // Time first so that a listing sorts by age; the random part keeps two runs of the program
    // from choosing the same name.
    std::random_device entropy;
    char random[16];
    std::snprintf(random, sizeof random, "%08x", static_cast<unsigned>(entropy()));
    return std::to_string(now.year) + twoDigits(now.month) + twoDigits(now.day) + "-" + twoDigits(now.hour) +
           twoDigits(now.minute) + twoDigits(now.second) + "-" + std::to_string(++sequence_) + "-" + random +
           std::string(kSuffix);
}

void MailOutbox::record(const std::string& level, const std::string& action)
{
    try {
        app_.log.prcAlertInfo(app_.now("yyyymmdd HH:mm"), level, action, 0, nullptr);
    } catch (const std::exception&) {
        // The record is in the list; only log.dat missed its line.
    }
}

Task<void> MailOutbox::load()
{
    using Listing = std::vector<std::pair<std::string, std::optional<std::string>>>;
    auto& files = app_.sv.files;
    const auto folder = folder_;
    std::optional<Listing> listing;
    std::string failure;
    try {
        auto call = app_.sv.io.run(
            ioKey(),
            [&files, folder] {
                files.createFolder(folder, Files::Privacy::OwnerOnly);
                const auto found = files.filesModifiedSince(folder, DateTime{});
                if (!found)
                    throw Error(ErrorKind::Other, "the folder cannot be listed");
                Listing read;
                for (const auto& file : *found) {
                    if (file.name.ends_with(kSuffix))
                        read.emplace_back(file.name, files.readFile(folder + "/" + file.name));
                }
                return read;
            },
            kFileBound);
        auto reply = co_await call;
        if (reply.answered())
            listing = std::move(*reply.value);
        else
            failure = "the disk did not answer";
    } catch (const std::exception& e) {
        failure = e.what();
    }
    if (!listing) {
        record("High", "The mail outbox " + folder + " could not be read: " + failure);
        loaded_ = true;
        co_return;
    }

    std::sort(listing->begin(), listing->end());
    for (const auto& file : *listing) {
        if (find(file.first))
            continue; // kept by this run already
        auto reading = file.second ? readOutboxText(*file.second) : OutboxReading{std::nullopt, "it cannot be read"};
        if (!reading.queued) {
            auto aside = setAside(file.first, reading.problem);
            co_await aside;
            continue;
        }
        reading.queued->name = file.first;
        queue_.push_back(std::move(*reading.queued));
    }
    loaded_ = true;
}

Task<std::optional<std::string>> MailOutbox::write(QueuedMail queued)
{
    auto& files = app_.sv.files;
    const auto path = pathOf(queued.name);
    const auto text = outboxText(queued);
    const auto folder = folder_;
    std::optional<std::string> problem;
    try {
        auto call = app_.sv.io.run(
            ioKey(),
            [&files, folder, path, text] {
                // Made again if it went since the start: the message must not be lost for that.
                if (!files.folderExists(folder))
                    files.createFolder(folder, Files::Privacy::OwnerOnly);
                files.replaceFile(path, text, Files::Privacy::OwnerOnly);
            },
            kFileBound);
        const auto reply = co_await call;
        if (!reply.answered())
            problem = "the disk did not answer";
    } catch (const std::exception& e) {
        problem = e.what();
    }
    co_return problem;
}

Task<bool> MailOutbox::keep(MailMessage mail, std::string reason)
{
    const auto now = app_.sv.clock.now();
    QueuedMail queued;
    queued.name = newName(now);
    mail.password.clear();
    queued.mail = std::move(mail);
    queued.firstTry = now;
    queued.attempts = 1;
    queued.nextDue = now.addMinutes(retryDelay(1).count());
    queued.reason = std::move(reason);
    auto writing = write(queued);
    const auto problem = co_await writing;
    if (problem) {
        record("High", "Notification Message to " + queued.mail.mailto + " could not be kept in the outbox (" +
                           queued.reason + "): " + *problem);
        co_return false;
    }
    queue_.push_back(std::move(queued));
    co_return true;
}

const QueuedMail* MailOutbox::find(std::string_view name) const
{
    const auto it = std::find_if(queue_.begin(), queue_.end(), [&](const QueuedMail& q) { return q.name == name; });
    return it == queue_.end() ? nullptr : &*it;
}

void MailOutbox::drop(std::string_view name)
{
    std::erase_if(queue_, [&](const QueuedMail& q) { return q.name == name; });
}

std::vector<std::string> MailOutbox::expired(const DateTime& now) const
{
    const auto horizon = std::chrono::duration_cast<std::chrono::seconds>(kGiveUpAfter).count();
    std::vector<std::string> names;
    for (const auto& q : queue_) {
        if (q.firstTry.addSeconds(horizon) <= now)
            names.push_back(q.name);
    }
    return names;
}

std::vector<std::string> MailOutbox::due(const DateTime& now) const
{
    const auto old = expired(now);
    std::vector<const QueuedMail*> ready;
    for (const auto& q : queue_) {
        if (q.nextDue <= now && std::find(old.begin(), old.end(), q.name) == old.end())
            ready.push_back(&q);
    }
    std::stable_sort(ready.begin(), ready.end(), [](const auto* a, const auto* b) { return a->nextDue < b->nextDue; });
    std::vector<std::string> names;
    for (const auto* q : ready)
        names.push_back(q->name);
    return names;
}

Task<void> MailOutbox::settle(std::string name, MailResult result)
{
    const auto* found = find(name);
    if (!found)
        co_return;
    const auto to = found->mail.mailto;
    switch (result.outcome) {
    case MailResult::Outcome::Delivered:
        record("Medium", "Notfication Message Send to: " + to);
        break;
    case MailResult::Outcome::Final:
        record("High", refusedRecord(to, result.reason));
        break;
    case MailResult::Outcome::Retry:
        break;
    }
    if (result.outcome != MailResult::Outcome::Retry) {
        auto removal = remove(name);
        co_await removal;
        co_return;
    }
    auto next = *found;
    ++next.attempts;
    next.reason = result.reason;
    next.nextDue = app_.sv.clock.now().addMinutes(retryDelay(next.attempts).count());
    for (auto& q : queue_) {
        if (q.name == name)
            q = next;
    }
    // A file that keeps its older count is tried a little early after a restart: nothing is lost.
    auto writing = write(next);
    co_await writing;
}

Task<void> MailOutbox::giveUp(std::string name)
{
    const auto* found = find(name);
    if (!found)
        co_return;
    record("High", "Notification Message to " + found->mail.mailto + " given up after " +
                       std::to_string(kGiveUpAfter.count()) + " hours in the outbox: " + found->reason);
    auto removal = remove(name);
    co_await removal;
}

Task<void> MailOutbox::remove(std::string name)
{
    drop(name);
    auto& files = app_.sv.files;
    const auto path = pathOf(name);
    std::optional<std::string> problem;
    try {
        auto call = app_.sv.io.run(ioKey(), [&files, path] { files.removeFile(path); }, kFileBound);
        const auto reply = co_await call;
        if (!reply.answered())
            problem = "the disk did not answer";
    } catch (const std::exception& e) {
        problem = e.what();
    }
    if (problem)
        record("High", "Outbox file could not be removed: " + path + ": " + *problem);
}

Task<void> MailOutbox::setAside(std::string name, std::string problem)
{
    auto& files = app_.sv.files;
    const auto path = pathOf(name);
    const auto aside = path + std::string(kSetAsideSuffix);
    std::optional<std::string> failure;
    try {
        auto call = app_.sv.io.run(ioKey(), [&files, path, aside] { files.renameFile(path, aside); }, kFileBound);
        const auto reply = co_await call;
        if (!reply.answered())
            failure = "the disk did not answer";
    } catch (const std::exception& e) {
        failure = e.what();
    }
    if (failure)
        record("High", "Damaged outbox file " + path + " (" + problem + ") could not be set aside: " + *failure);
    else
        record("High", "Damaged outbox file set aside as " + aside + ": " + problem);
}

} // namespace volmara
