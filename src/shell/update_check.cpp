#include "shell/update_check.h"

#include "core/app_state.h"

#include <charconv>
#include <utility>

namespace volmara {

namespace {

constexpr std::size_t kVersionWindow = 15;

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::optional<long> digits(std::string_view text)
{
    // Nine digits at most: enough for any version, and never an overflow.
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::string> publishedVersionText(std::string_view page)
{
    const auto at = page.find(kUpdateMarker);
    if (at == std::string_view::npos)
        return std::nullopt;
    std::string window(page.substr(at, kVersionWindow));
    for (auto marker = window.find(kUpdateMarker); marker != std::string::npos; marker = window.find(kUpdateMarker))
        window.erase(marker, kUpdateMarker.size());
    return std::string(trimBlanks(window));
}

std::optional<VersionNumber> parseVersionNumber(std::string_view text)
{
    if (text.empty() || text.front() == '+' || text.front() == '-')
        return std::nullopt;
    const auto dot = text.find('.');
    const auto major = digits(text.substr(0, dot));
    if (!major)
        return std::nullopt;
    if (dot == std::string_view::npos)
        return VersionNumber{*major, 0};
    const auto minor = digits(text.substr(dot + 1));
    if (!minor)
        return std::nullopt;
    return VersionNumber{*major, *minor};
}

UpdateCheck::UpdateCheck(AppState& app) : app_(app) {}

void UpdateCheck::prcChkUpdate()
{
    if (running_ || url.empty())
        return;
    app_.tasks.spawn(check());
}

void UpdateCheck::Label5_Click()
{
    if (url.empty()) {
        app_.inform(std::string(kNoUpdateSite));
        return;
    }
    if (!app_.sv.http.reachable()) {
        app_.inform(std::string(kNotConnected), MsgIcon::Information);
        return;
    }
    prcChkUpdate();
}

Task<void> UpdateCheck::check()
{
    running_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{running_};

    HttpRequest request{url, timeout, maxBody};
    // The workers' bound is a margin over the fetch's own time-out, which always ends it first.
    const auto bound = timeout + std::chrono::milliseconds(5000);
    std::optional<HttpReply> reply;
    try {
        // Built apart from the co_await: GCC 12 mishandles a lambda with owning captures inside one.
        auto call = app_.sv.io.run("http", [&http = app_.sv.http, request] { return http.get(request); }, bound);
        auto answer = co_await call;
        if (answer.answered())
            reply = std::move(answer.value);
    } catch (const std::exception&) {
        // A failed fetch is as silent as a page without the marker.
    }
    if (reply && reply->ok)
        evaluate(reply->body);
}

void UpdateCheck::evaluate(std::string_view page)
{
    const auto published = publishedVersionText(page);
    if (!published)
        return;
    const auto version = parseVersionNumber(*published);
    if (!version || *version <= ownVersion)
        return;
    app_.form1.lblNewVer = std::string(kNewVerPrefix) + *published;
    app_.form1.notify();
    app_.inform(std::string(kNewerVersionMessage), MsgIcon::Information);
}

} // namespace volmara
