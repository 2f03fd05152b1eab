// The entry point of the network module (see NetworkModule).
#include "adapters/curl/CurlHttpClient.hpp"
#include "platform/Log.hpp"

extern "C" __attribute__((visibility("default"))) quorvane::platform::HttpClient*
quorvane_make_http_client(quorvane::platform::Log*) {
    return new quorvane::platform::curl::CurlHttpClient;
}
