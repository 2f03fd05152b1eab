#include "support/LoopbackHttp.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace quorvane::testing {

namespace {

void sendAll(int client, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(client, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return;
        sent += static_cast<std::size_t>(n);
    }
}

std::string response(int status, const std::string& reason, const std::string& headers,
                     const std::string& body, bool head) {
    return "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\n" + headers +
           "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
           (head ? std::string() : body);
}

std::string redirect(const std::string& to, bool head) {
    return response(302, "Found", "Location: " + to + "\r\n", "", head);
}

std::string json(int status, const std::string& body, bool head) {
    return response(status, status == 200 ? "OK" : "Internal Server Error",
                    "Content-Type: application/json\r\n", body, head);
}

}  // namespace

LoopbackHttp::LoopbackHttp(int port) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int yes = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 16) != 0)
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port));
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    server_ = std::thread([this] { serve(); });
}

LoopbackHttp::~LoopbackHttp() {
    stopping_ = true;
    server_.join();
    ::close(listener_);
    std::vector<std::thread> connections;
    {
        std::lock_guard lock(mutex_);
        connections.swap(connections_);
    }
    for (auto& connection : connections)
        connection.join();
}

std::string LoopbackHttp::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> LoopbackHttp::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void LoopbackHttp::serve() {
    while (!stopping_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (::poll(&waiting, 1, 50) <= 0)
            continue;
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        std::lock_guard lock(mutex_);
        connections_.emplace_back([this, client] {
            answer(client);
            ::close(client);
        });
    }
}

void LoopbackHttp::answer(int client) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        pollfd readable{client, POLLIN, 0};
        if (stopping_ || ::poll(&readable, 1, 50) < 0)
            return;
        if (!(readable.revents & POLLIN))
            continue;
        const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
        if (n <= 0)
            return;
        request.append(buffer, static_cast<std::size_t>(n));
    }
    const auto methodEnd = request.find(' ');
    const auto pathEnd = request.find(' ', methodEnd + 1);
    if (methodEnd == std::string::npos || pathEnd == std::string::npos)
        return;
    const std::string method = request.substr(0, methodEnd);
    std::string path = request.substr(methodEnd + 1, pathEnd - methodEnd - 1);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(method + " " + path);
    }
    path = path.substr(0, path.find('?'));
    const bool head = method == "HEAD";

    if (path == "/plain") {
        sendAll(client, response(200, "OK", "", "plain", head));
    } else if (path.starts_with("/hops/")) {
        const int left = std::stoi(path.substr(6));
        sendAll(client, redirect(left > 1 ? "/hops/" + std::to_string(left - 1)
                                          : "/final/page?utm_source=x&id=3#top",
                                 head));
    } else if (path == "/final/page") {
        sendAll(client, response(200, "OK", "", "the end", head));
    } else if (path == "/loop") {
        sendAll(client, redirect("/loop", head));
    } else if (path == "/not-allowed") {
        sendAll(client, redirect("/head-refused", head));
    } else if (path == "/head-refused") {
        sendAll(client, response(405, "Method Not Allowed", "Allow: GET\r\n", "", head));
    } else if (path == "/stall") {
        while (!stopping_)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } else if (path == "/big-headers" || path == "/huge-headers") {
        const std::size_t size = path == "/big-headers" ? 100 * 1024 : 1024 * 1024;
        std::string headers;
        for (int i = 0; headers.size() < size; ++i)
            headers += "X-Filler-" + std::to_string(i) + ": " + std::string(200, 'a') + "\r\n";
        sendAll(client, response(200, "OK", headers, "", head));
    } else if (path == "/elsewhere") {
        sendAll(client, redirect("file:///etc/passwd", head));
    } else if (path == "/ip") {
        sendAll(client, json(200, R"({"ip": "203.0.113.7", "country": "ZZ"})", head));
    } else if (path == "/ip6") {
        sendAll(client, json(200, R"({"ip": "2001:db8::7"})", head));
    } else if (path == "/ip-empty") {
        sendAll(client, json(200, R"({"ip": ""})", head));
    } else if (path == "/ip-words") {
        sendAll(client, json(200, "hello", head));
    } else if (path == "/ip-500") {
        sendAll(client, json(500, R"({"ip": "203.0.113.7"})", head));
    } else if (path == "/ip-huge") {
        sendAll(client, json(200, R"({"ip": "203.0.113.7", "pad": ")" + std::string(1 << 20, 'x') + "\"}", head));
    } else {
        sendAll(client, response(404, "Not Found", "", "", head));
    }
}

}  // namespace quorvane::testing
