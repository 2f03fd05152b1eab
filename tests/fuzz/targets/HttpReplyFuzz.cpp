// What a web service answers the public-address check: a status and a body
// from a server the program does not control.

#include <arpa/inet.h>

#include "FuzzCheck.hpp"
#include "text/PublicIpTask.hpp"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    platform::HttpResponse response;
    response.status = 100 + (data[0] | (data[1] << 8)) % 500;
    response.url = "https://address.example/";
    response.body = fuzz::bytes(data + 2, size - 2);
    const auto address = text::publicAddressIn(response);
    if (!address)
        return 0;
    FUZZ_CHECK(response.status >= 200 && response.status < 300, response.body);
    // What is shown and copied is an address, and only that.
    FUZZ_CHECK(address->find('\0') == std::string::npos, response.body);
    unsigned char binary[16];
    const int family = address->find(':') == std::string::npos ? AF_INET : AF_INET6;
    FUZZ_CHECK(::inet_pton(family, address->c_str(), binary) == 1, *address);
    return 0;
}
