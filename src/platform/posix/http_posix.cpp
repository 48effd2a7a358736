#include "platform/posix/http_posix.h"

#include "platform/posix/http/default_route.h"

#include <curl/curl.h>

#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>

namespace volmara {

namespace {

std::string readProc(const char* path)
{
    std::ifstream in(path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

struct Body {
    std::string text;
    std::size_t max = 0;
    bool truncated = false;
};

// Keeps what fits and ends the transfer there: the rest of a page is never read.
std::size_t collect(char* data, std::size_t size, std::size_t count, void* user)
{
    auto& body = *static_cast<Body*>(user);
    const std::size_t bytes = size * count;
    const std::size_t room = body.max - body.text.size();
    if (bytes > room) {
        body.text.append(data, room);
        body.truncated = true;
        return 0;
    }
    body.text.append(data, bytes);
    return bytes;
}

struct EasyDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};

} // namespace

PosixHttp::PosixHttp()
{
    // Once, before any worker thread uses the library; it stays until the process ends, since an
    // abandoned fetch may still be running then.
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

HttpReply PosixHttp::get(const HttpRequest& request)
{
    HttpReply reply;
    std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
    if (!curl) {
        reply.error = "the HTTP client could not be started";
        return reply;
    }
    Body body;
    body.max = request.maxBody;
    char error[CURL_ERROR_SIZE] = {};
    const long timeoutMs = static_cast<long>(request.timeout.count());
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 3L);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, timeoutMs);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, timeoutMs);
    // Worker threads: no signals for the name lookup's time-out.
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(c, CURLOPT_USERAGENT, "Volmara");

    const CURLcode result = curl_easy_perform(c);
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &reply.status);
    reply.truncated = body.truncated;
    const bool cut = result == CURLE_WRITE_ERROR && body.truncated;
    if (result != CURLE_OK && !cut) {
        reply.error = error[0] ? error : curl_easy_strerror(result);
        return reply;
    }
    if (reply.status < 200 || reply.status > 299) {
        reply.error = "the server answered " + std::to_string(reply.status);
        return reply;
    }
    reply.ok = true;
    reply.body = std::move(body.text);
    return reply;
}

bool PosixHttp::reachable()
{
    return hasIpv4DefaultRoute(readProc("/proc/net/route"), sysInterfaceFlags) ||
           hasIpv6DefaultRoute(readProc("/proc/net/ipv6_route"), sysInterfaceFlags);
}

} // namespace volmara
