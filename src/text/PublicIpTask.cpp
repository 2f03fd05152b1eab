#include "text/PublicIpTask.hpp"

#include <arpa/inet.h>

#include <nlohmann/json.hpp>

namespace quorvane::text {

namespace {

// The whole text: inet_pton stops at a NUL, and "1.2.3.4\u0000<anything>"
// is no address.
bool isIpAddress(const std::string& text) {
    unsigned char address[16];
    if (text.find('\0') != std::string::npos)
        return false;
    return inet_pton(AF_INET, text.c_str(), address) == 1 ||
           inet_pton(AF_INET6, text.c_str(), address) == 1;
}

}  // namespace

std::optional<std::string> publicAddressIn(const platform::Result<platform::HttpResponse>& response) {
    if (!response || response.value().status < 200 || response.value().status > 299)
        return std::nullopt;
    const auto reply = nlohmann::json::parse(response.value().body, nullptr, false);
    if (!reply.is_object())
        return std::nullopt;
    const auto ip = reply.find("ip");
    if (ip == reply.end() || !ip->is_string() || !isIpAddress(ip->get<std::string>()))
        return std::nullopt;
    return ip->get<std::string>();
}

std::string publicIpRequestUrl(const std::string& service) {
    const auto fragment = service.find('#');
    const std::string base = service.substr(0, fragment);
    return base + (base.find('?') == std::string::npos ? "?" : "&") + "format=json";
}

core::RunOutcome PublicIpTask::run() {
    services_.network.submit([this, request = platform::HttpRequest{
                                        .method = platform::HttpRequest::Method::get,
                                        .url = publicIpRequestUrl(services_.publicIpService),
                                        .timeout = services_.requestTimeout}] {
        auto response = services_.http.perform(request);
        auto address = publicAddressIn(response);
        if (!address)
            services_.log.info(id(), response ? "the echo service's answer holds no address (status " +
                                                    std::to_string(response.value().status) + ")"
                                              : "no answer: " + response.error().message);
        services_.mainQueue.post([this, address = std::move(address)] {
            services_.journal.record(id(), "network", address ? "public address shown" : "no public address");
            if (address)
                services_.alerts.show({.style = platform::Alert::Style::warning,
                                       .message = name(),
                                       .informativeText = "Public IP address: " + *address});
            else
                services_.alerts.show({.style = platform::Alert::Style::critical,
                                       .message = name(),
                                       .informativeText = "Something went wrong"});
        });
    });
    return core::RunOutcome::done();
}

}  // namespace quorvane::text
