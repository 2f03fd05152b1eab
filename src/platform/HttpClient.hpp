#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "platform/Result.hpp"

namespace quorvane::platform {

struct HttpRequest {
    enum class Method { get, head };

    Method method = Method::get;
    std::string url;
    std::chrono::milliseconds timeout = std::chrono::seconds(60);
};

struct HttpResponse {
    long status = 0;
    std::string url;   // the last one reached, after redirects
    std::string body;  // none for HEAD
};

// HTTP and HTTPS only, redirects followed (16 at most, to http or https
// only), bodies bounded. perform() blocks its caller: call it from a
// background executor. Any thread.
class HttpClient {
  public:
    static constexpr std::size_t maxBodyBytes = 64 * 1024;
    static constexpr std::size_t maxUrlBytes = 8 * 1024;
    static constexpr long maxRedirects = 16;

    virtual ~HttpClient() = default;

    // A transport failure (refused, timed out, too many redirects, a body
    // too large, aborted) is an error; any status is a response.
    virtual Result<HttpResponse> perform(const HttpRequest& request) = 0;
    // Ends every request in flight with an error, and each one after it:
    // the program is quitting.
    virtual void abortAll() = 0;

    // `text` as an absolute http or https URL, normalised; absent for
    // anything else (words, another scheme, a relative path, too long).
    virtual std::optional<std::string> httpUrl(const std::string& text) const = 0;
    // The URL without its query; path and fragment stay.
    virtual std::optional<std::string> withoutQuery(const std::string& url) const = 0;
};

}  // namespace quorvane::platform
