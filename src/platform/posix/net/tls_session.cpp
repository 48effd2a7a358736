#include "platform/posix/net/tls_session.h"

#include <algorithm>
#include <climits>

#include <arpa/inet.h>
#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>
#include <openssl/x509v3.h>

namespace volmara {

struct TlsTrust::Context {
    explicit Context(SSL_CTX* c) : ctx(c) {}
    ~Context() { SSL_CTX_free(ctx); }
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
    SSL_CTX* ctx;
};

struct TlsSession::Handles {
    Handles() = default;
    ~Handles() { SSL_free(ssl); } // frees both buffers with it
    Handles(const Handles&) = delete;
    Handles& operator=(const Handles&) = delete;
    SSL* ssl = nullptr;
    BIO* in = nullptr;  // what came off the wire, for the session to read
    BIO* out = nullptr; // what the session wrote, for the wire
};

namespace {

// OpenSSL's reason for the last failure on this thread, and the queue emptied for the next call.
std::string lastReason(const char* otherwise)
{
    const auto code = ERR_peek_last_error();
    const char* reason = code != 0 ? ERR_reason_error_string(code) : nullptr;
    ERR_clear_error();
    return reason ? reason : otherwise;
}

bool isIpAddress(const std::string& name)
{
    unsigned char address[16];
    return ::inet_pton(AF_INET, name.c_str(), address) == 1 || ::inet_pton(AF_INET6, name.c_str(), address) == 1;
}

int clampedSize(std::size_t size) { return static_cast<int>(std::min<std::size_t>(size, INT_MAX)); }

} // namespace

TlsTrust::TlsTrust(std::unique_ptr<Context> context) : context_(std::move(context)) {}
TlsTrust::~TlsTrust() = default;

std::shared_ptr<const TlsTrust> TlsTrust::load(std::string& error)
{
    ERR_clear_error();
    SSL_CTX* ctx = SSL_CTX_new(TLS_client_method());
    if (!ctx) {
        error = lastReason("no TLS context");
        return nullptr;
    }
    auto context = std::make_unique<Context>(ctx);
    SSL_CTX_set_min_proto_version(ctx, TLS1_2_VERSION);
    SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, nullptr);
    if (SSL_CTX_set_default_verify_paths(ctx) != 1) {
        error = lastReason("the trusted authorities cannot be read");
        return nullptr;
    }
    ERR_clear_error();
    return std::make_shared<const TlsTrust>(std::move(context));
}

TlsSession::TlsSession(std::shared_ptr<const TlsTrust> trust, const std::string& serverName)
    : trust_(std::move(trust)), handles_(std::make_unique<Handles>())
{
    ERR_clear_error();
    auto& h = *handles_;
    h.ssl = SSL_new(trust_->context().ctx);
    h.in = BIO_new(BIO_s_mem());
    h.out = BIO_new(BIO_s_mem());
    if (!h.ssl || !h.in || !h.out) {
        BIO_free(h.in);
        BIO_free(h.out);
        h.in = h.out = nullptr;
        progress_ = Progress::Broken;
        error_ = lastReason("no TLS session");
        return;
    }
    SSL_set_bio(h.ssl, h.in, h.out);
    SSL_set_connect_state(h.ssl);
    if (serverName.empty()) {
        progress_ = Progress::Untrusted;
        error_ = "no server name to check the certificate against";
        return;
    }
    // An address is checked against the certificate's IP entries and is never sent as SNI.
    bool named = false;
    if (isIpAddress(serverName)) {
        named = X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(h.ssl), serverName.c_str()) == 1;
    } else {
        SSL_set_hostflags(h.ssl, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
        named = SSL_set_tlsext_host_name(h.ssl, serverName.c_str()) == 1 && SSL_set1_host(h.ssl, serverName.c_str()) == 1;
    }
    if (!named) {
        progress_ = Progress::Untrusted;
        error_ = lastReason("the server name cannot be checked");
        return;
    }
    handshake(); // the first flight is ready to go
}

TlsSession::~TlsSession() = default;

void TlsSession::received(std::string_view cipher)
{
    while (!cipher.empty() && handles_->in) {
        const int n = BIO_write(handles_->in, cipher.data(), clampedSize(cipher.size()));
        if (n <= 0)
            return;
        cipher.remove_prefix(static_cast<std::size_t>(n));
    }
}

void TlsSession::receivedEnd()
{
    peerGone_ = true;
    // The session now reads the end of the stream instead of "wait for more".
    if (handles_->in)
        BIO_set_mem_eof_return(handles_->in, 0);
}

void TlsSession::write(std::string_view plain) { pendingPlain_.append(plain); }

TlsSession::Progress TlsSession::advance(std::string& plain)
{
    if (progress_ == Progress::Handshaking)
        handshake();
    if (progress_ != Progress::Secure)
        return progress_;
    if (flushPlain())
        readPlain(plain);
    return progress_;
}

std::string TlsSession::takeOutgoing()
{
    std::string out;
    if (!handles_->out)
        return out;
    char chunk[16384];
    while (BIO_ctrl_pending(handles_->out) > 0) {
        const int n = BIO_read(handles_->out, chunk, sizeof(chunk));
        if (n <= 0)
            break;
        out.append(chunk, static_cast<std::size_t>(n));
    }
    return out;
}

void TlsSession::handshake()
{
    ERR_clear_error();
    const int result = SSL_do_handshake(handles_->ssl);
    if (result == 1) {
        progress_ = Progress::Secure;
        return;
    }
    const int error = SSL_get_error(handles_->ssl, result);
    if ((error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) && !peerGone_)
        return;
    fail();
}

void TlsSession::fail()
{
    const long verified = SSL_get_verify_result(handles_->ssl);
    if (progress_ == Progress::Handshaking && verified != X509_V_OK) {
        progress_ = Progress::Untrusted;
        error_ = X509_verify_cert_error_string(verified);
        ERR_clear_error();
        return;
    }
    const bool inHandshake = progress_ == Progress::Handshaking;
    progress_ = Progress::Broken;
    if (peerGone_) {
        ERR_clear_error();
        error_ = inHandshake ? "the server closed the connection during the handshake"
                             : "the server closed the connection";
        return;
    }
    error_ = lastReason("the encrypted stream failed");
}

bool TlsSession::flushPlain()
{
    while (!pendingPlain_.empty()) {
        ERR_clear_error();
        const int n = SSL_write(handles_->ssl, pendingPlain_.data(), clampedSize(pendingPlain_.size()));
        if (n > 0) {
            pendingPlain_.erase(0, static_cast<std::size_t>(n));
            continue;
        }
        const int error = SSL_get_error(handles_->ssl, n);
        if (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE)
            return true;
        fail();
        return false;
    }
    return true;
}

void TlsSession::readPlain(std::string& plain)
{
    char chunk[16384];
    while (!ended_) {
        ERR_clear_error();
        const int n = SSL_read(handles_->ssl, chunk, sizeof(chunk));
        if (n > 0) {
            plain.append(chunk, static_cast<std::size_t>(n));
            continue;
        }
        const int error = SSL_get_error(handles_->ssl, n);
        if (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE)
            return;
        // The server's close_notify, or the connection's end without one: the end of the stream
        // either way, once everything before it has been read.
        if (error == SSL_ERROR_ZERO_RETURN || peerGone_) {
            ERR_clear_error();
            ended_ = true;
            return;
        }
        fail();
        return;
    }
}

} // namespace volmara
