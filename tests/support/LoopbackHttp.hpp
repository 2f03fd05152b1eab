#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quorvane::testing {

// A small HTTP/1.1 server on 127.0.0.1 with scripted routes, for tests of
// the network tweaks (and, as a program, for trying them by hand):
//   /plain                 200, no redirect
//   /hops/N                N redirects, ending at /final/page?utm_source=x&id=3#top
//   /loop                  redirects to itself
//   /not-allowed           one redirect, then 405
//   /stall                 never answers
//   /big-headers           100 KiB of header lines  /huge-headers  1 MiB of them
//   /elsewhere             redirects to file:///etc/passwd
//   /ip                    {"ip": "203.0.113.7"}    /ip6  {"ip": "2001:db8::7"}
//   /ip-empty {"ip": ""}   /ip-words "hello"        /ip-500 500 with an address
//   /ip-huge               1 MiB of JSON
// Every other path is 404. Each request's method and path is kept.
class LoopbackHttp {
  public:
    // Port 0 picks a free one.
    explicit LoopbackHttp(int port = 0);
    ~LoopbackHttp();
    LoopbackHttp(const LoopbackHttp&) = delete;
    LoopbackHttp& operator=(const LoopbackHttp&) = delete;

    int port() const { return port_; }
    std::string url(const std::string& path) const;
    // "HEAD /hops/3", in the order they came.
    std::vector<std::string> requests() const;

  private:
    void serve();
    void answer(int client);

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread server_;
    mutable std::mutex mutex_;
    std::vector<std::thread> connections_;
    std::vector<std::string> requests_;
};

}  // namespace quorvane::testing
