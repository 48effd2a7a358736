#include "notify/smtp_login.h"

#include "core/format.h"
#include "core/path_rules.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

namespace volmara {

namespace {

std::string upper(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

std::optional<std::int32_t> portOf(std::string_view text)
{
    const auto value = parseNumber(text);
    if (!value || *value < -2147483648.0 || *value > 2147483647.0)
        return std::nullopt;
    return static_cast<std::int32_t>(roundHalfEven(*value));
}

bool isDomainName(std::string_view name)
{
    if (name.empty() || name.size() > 253 || name.front() == '.' || name.front() == '-' || name.back() == '.' ||
        name.back() == '-')
        return false;
    return std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isalnum(c) || c == '-' || c == '.'; }) &&
           name.find("..") == std::string_view::npos;
}

} // namespace

MailSecurity mailSecurity(std::int32_t port, std::string_view user)
{
    if (port == kImplicitTlsPort)
        return MailSecurity::Tls;
    return trim(user).empty() ? MailSecurity::None : MailSecurity::StartTls;
}

std::string_view mailSecurityName(MailSecurity security)
{
    switch (security) {
    case MailSecurity::None:
        return "none";
    case MailSecurity::StartTls:
        return "STARTTLS";
    case MailSecurity::Tls:
        return "TLS";
    }
    return "none";
}

std::string mailSecurityCaption(std::string_view portText, std::string_view user)
{
    return "Security: " + std::string(mailSecurityName(mailSecurity(portOf(portText).value_or(0), user)));
}

EhloOffer parseEhlo(const SmtpReply& reply)
{
    EhloOffer offer;
    // The first line greets; every later line is one keyword and its parameters.
    for (std::size_t i = 1; i < reply.lines.size(); ++i) {
        std::istringstream words(upper(reply.lines[i]));
        std::string keyword;
        words >> keyword;
        if (keyword == "STARTTLS")
            offer.startTls = true;
        // "AUTH=PLAIN LOGIN" is how older servers said "AUTH PLAIN LOGIN".
        std::vector<std::string> mechanisms;
        if (keyword.starts_with("AUTH="))
            mechanisms.push_back(keyword.substr(5));
        else if (keyword != "AUTH")
            continue;
        for (std::string word; words >> word;)
            mechanisms.push_back(word);
        for (const auto& mechanism : mechanisms) {
            offer.authPlain = offer.authPlain || mechanism == "PLAIN";
            offer.authLogin = offer.authLogin || mechanism == "LOGIN";
        }
    }
    return offer;
}

std::optional<AuthMechanism> chooseAuth(const EhloOffer& offer)
{
    if (offer.authPlain)
        return AuthMechanism::Plain;
    if (offer.authLogin)
        return AuthMechanism::Login;
    return std::nullopt;
}

std::string base64(std::string_view bytes)
{
    static constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const auto n = static_cast<unsigned>(static_cast<unsigned char>(bytes[i])) << 16 |
                       static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 1])) << 8 |
                       static_cast<unsigned char>(bytes[i + 2]);
        out += kAlphabet[n >> 18 & 63];
        out += kAlphabet[n >> 12 & 63];
        out += kAlphabet[n >> 6 & 63];
        out += kAlphabet[n & 63];
    }
    if (const auto rest = bytes.size() - i; rest > 0) {
        auto n = static_cast<unsigned>(static_cast<unsigned char>(bytes[i])) << 16;
        if (rest == 2)
            n |= static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        out += kAlphabet[n >> 18 & 63];
        out += kAlphabet[n >> 12 & 63];
        out += rest == 2 ? kAlphabet[n >> 6 & 63] : '=';
        out += '=';
    }
    return out;
}

std::string authPlainArgument(std::string_view user, std::string_view password)
{
    std::string credentials;
    credentials += '\0';
    credentials += user;
    credentials += '\0';
    credentials += password;
    return base64(credentials);
}

std::string ehloName(std::string_view hostName)
{
    return isDomainName(hostName) ? std::string(hostName) : std::string("localhost");
}

} // namespace volmara
