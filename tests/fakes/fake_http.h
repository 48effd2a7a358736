#pragma once

#include "platform/http.h"

#include <map>
#include <string>
#include <vector>

namespace volmara::test {

// Pages by URL; an unknown URL answers as a server that is not there.
class FakeHttp final : public Http {
public:
    HttpReply get(const HttpRequest& request) override
    {
        requests.push_back(request);
        const auto page = pages.find(request.url);
        if (page == pages.end()) {
            HttpReply reply;
            reply.error = "Could not connect to server";
            return reply;
        }
        return page->second;
    }
    bool reachable() override { return online; }

    void serve(const std::string& url, std::string body)
    {
        HttpReply reply;
        reply.ok = true;
        reply.status = 200;
        reply.body = std::move(body);
        pages[url] = std::move(reply);
    }

    bool online = true;
    std::map<std::string, HttpReply> pages;
    std::vector<HttpRequest> requests;
};

} // namespace volmara::test
