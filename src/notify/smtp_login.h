#pragma once

#include "notify/smtp_reply.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace volmara {

// What protects a conversation. A log-in asks for encryption, because the password must never
// cross the network in plain text; the submission port of implicit TLS is encrypted from its
// first byte whatever else is set.
enum class MailSecurity {
    None,     // plain text, no log-in
    StartTls, // plain greeting, then STARTTLS before the log-in
    Tls,      // TLS from the first byte
};

inline constexpr std::int32_t kImplicitTlsPort = 465;

// A user name of blanks alone is no user name.
MailSecurity mailSecurity(std::int32_t port, std::string_view user);
// "none", "STARTTLS", "TLS".
std::string_view mailSecurityName(MailSecurity security);
// What the notification window shows beside the port, from the port box's text and the user
// name: "Security: " and the name. A port text that is no number counts as no port.
std::string mailSecurityCaption(std::string_view portText, std::string_view user);

// What a server offered in its reply to EHLO.
struct EhloOffer {
    bool startTls = false;
    bool authPlain = false;
    bool authLogin = false;
};
EhloOffer parseEhlo(const SmtpReply& reply);

enum class AuthMechanism { Plain, Login };
// PLAIN when offered (one round trip), else LOGIN; nothing when neither is.
std::optional<AuthMechanism> chooseAuth(const EhloOffer& offer);

std::string base64(std::string_view bytes);
// The argument of "AUTH PLAIN": no authorisation identity, the user, the password.
std::string authPlainArgument(std::string_view user, std::string_view password);

// The name EHLO gives: the machine's host name when it is a usable domain name, else
// "localhost".
std::string ehloName(std::string_view hostName);

} // namespace volmara
