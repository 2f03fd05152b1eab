#pragma once

#include <atomic>

#include "platform/HttpClient.hpp"

namespace quorvane::platform::curl {

// The HTTP client on libcurl's easy interface: one handle a request, so
// requests on several threads never share one.
class CurlHttpClient final : public HttpClient {
  public:
    CurlHttpClient();
    ~CurlHttpClient() override;
    CurlHttpClient(const CurlHttpClient&) = delete;
    CurlHttpClient& operator=(const CurlHttpClient&) = delete;

    Result<HttpResponse> perform(const HttpRequest& request) override;
    void abortAll() override { aborted_ = true; }
    std::optional<std::string> httpUrl(const std::string& text) const override;
    std::optional<std::string> withoutQuery(const std::string& url) const override;

  private:
    std::atomic<bool> aborted_{false};
};

}  // namespace quorvane::platform::curl
