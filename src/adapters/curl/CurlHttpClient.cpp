#include "adapters/curl/CurlHttpClient.hpp"

#include <curl/curl.h>

#include <memory>

namespace quorvane::platform::curl {

namespace {

struct Transfer {
    std::string body;
    bool tooLarge = false;
    const std::atomic<bool>* aborted = nullptr;
};

std::size_t collectBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    if (transfer->body.size() + bytes > HttpClient::maxBodyBytes) {
        transfer->tooLarge = true;
        return 0;  // curl ends the transfer with a write error
    }
    transfer->body.append(data, bytes);
    return bytes;
}

int checkAborted(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Transfer*>(user)->aborted->load() ? 1 : 0;
}

using Easy = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using Url = std::unique_ptr<CURLU, decltype(&curl_url_cleanup)>;

std::optional<std::string> part(CURLU* url, CURLUPart which) {
    char* text = nullptr;
    if (curl_url_get(url, which, &text, 0) != CURLUE_OK || text == nullptr)
        return std::nullopt;
    std::string copy(text);
    curl_free(text);
    return copy;
}

// Parsed only when it names its http or https scheme itself.
Url parsedHttpUrl(const std::string& text) {
    Url url(curl_url(), &curl_url_cleanup);
    if (!url || text.empty() || text.size() > HttpClient::maxUrlBytes)
        return Url(nullptr, &curl_url_cleanup);
    if (curl_url_set(url.get(), CURLUPART_URL, text.c_str(), 0) != CURLUE_OK)
        return Url(nullptr, &curl_url_cleanup);
    const auto scheme = part(url.get(), CURLUPART_SCHEME);
    if (!scheme || (*scheme != "http" && *scheme != "https") || !part(url.get(), CURLUPART_HOST))
        return Url(nullptr, &curl_url_cleanup);
    return url;
}

}  // namespace

CurlHttpClient::CurlHttpClient() {
    curl_global_init(CURL_GLOBAL_DEFAULT);
}

CurlHttpClient::~CurlHttpClient() {
    curl_global_cleanup();
}

Result<HttpResponse> CurlHttpClient::perform(const HttpRequest& request) {
    if (aborted_)
        return Error{"the request was cancelled"};
    const auto url = httpUrl(request.url);
    if (!url)
        return Error{"not an http or https address"};
    Easy easy(curl_easy_init(), &curl_easy_cleanup);
    if (!easy)
        return Error{"cannot start a request"};
    Transfer transfer{.body = {}, .tooLarge = false, .aborted = &aborted_};
    CURL* handle = easy.get();
    curl_easy_setopt(handle, CURLOPT_URL, url->c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, maxRedirects);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(request.timeout.count()));
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_USERAGENT, "Quorvane");
    curl_easy_setopt(handle, CURLOPT_ACCEPT_ENCODING, "");
    if (request.method == HttpRequest::Method::head)
        curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, collectBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, checkAborted);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);

    const CURLcode code = curl_easy_perform(handle);
    if (transfer.tooLarge)
        return Error{"the answer is larger than 64 KiB"};
    if (code != CURLE_OK)
        return Error{curl_easy_strerror(code)};
    HttpResponse response;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &response.status);
    char* effective = nullptr;
    curl_easy_getinfo(handle, CURLINFO_EFFECTIVE_URL, &effective);
    response.url = effective != nullptr ? effective : *url;
    response.body = std::move(transfer.body);
    return response;
}

std::optional<std::string> CurlHttpClient::httpUrl(const std::string& text) const {
    const auto url = parsedHttpUrl(text);
    if (!url)
        return std::nullopt;
    return part(url.get(), CURLUPART_URL);
}

std::optional<std::string> CurlHttpClient::withoutQuery(const std::string& text) const {
    const auto url = parsedHttpUrl(text);
    if (!url || curl_url_set(url.get(), CURLUPART_QUERY, nullptr, 0) != CURLUE_OK)
        return std::nullopt;
    return part(url.get(), CURLUPART_URL);
}

}  // namespace quorvane::platform::curl
