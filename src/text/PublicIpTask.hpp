#pragma once

#include <optional>
#include <string>

#include "core/Tweak.hpp"
#include "platform/HttpClient.hpp"
#include "platform/Result.hpp"
#include "text/TextServices.hpp"

namespace quorvane::text {

// The address the echo service saw: a 2xx answer whose JSON object holds
// an IPv4 or IPv6 address under "ip"; anything else is absent.
std::optional<std::string> publicAddressIn(const platform::Result<platform::HttpResponse>& response);

// The echo service's address with the query asking for JSON.
std::string publicIpRequestUrl(const std::string& service);

// Asks the echo service for this machine's public address and shows it in
// an alert ("Something went wrong" when there is none to show).
class PublicIpTask final : public core::BuiltinTweak {
  public:
    // Any HTTPS service answering "?format=json" with {"ip": ...}.
    static constexpr const char* defaultService = "https://api.ipify.org";

    PublicIpTask(core::TweakInfo info, TextServices& services)
        : BuiltinTweak(std::move(info)), services_(services) {}

    core::RunOutcome run() override;

  private:
    TextServices& services_;
};

}  // namespace quorvane::text
