#pragma once

#include "platform/HttpClient.hpp"
#include "adapters/qt/LazyModule.hpp"

namespace quorvane::platform::qt {

// HTTP through the network module ("libquorvane_network.so", libcurl),
// loaded on the first request or address check. Without the module every
// request fails and no text is an address.
class NetworkModule final : public HttpClient {
  public:
    static constexpr const char* factoryName = "quorvane_make_http_client";

    NetworkModule(Log& log, QString path) : module_(log, "Network", "network module", std::move(path), factoryName) {}

    Result<HttpResponse> perform(const HttpRequest& request) override {
        if (auto* client = module_.get())
            return client->perform(request);
        return Error{"the network module is missing"};
    }
    // A module never loaded has nothing in flight: quitting does not load it.
    void abortAll() override {
        if (auto* client = module_.peek())
            client->abortAll();
    }
    std::optional<std::string> httpUrl(const std::string& text) const override {
        auto* client = module_.get();
        return client ? client->httpUrl(text) : std::nullopt;
    }
    std::optional<std::string> withoutQuery(const std::string& url) const override {
        auto* client = module_.get();
        return client ? client->withoutQuery(url) : std::nullopt;
    }

  private:
    mutable LazyModule<HttpClient> module_;
};

}  // namespace quorvane::platform::qt
