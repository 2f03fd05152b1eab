// Runs the loopback HTTP server until interrupted:
//   quorvane_loopback_http [PORT]
#include <csignal>
#include <iostream>
#include <string>

#include <unistd.h>

#include "support/LoopbackHttp.hpp"

int main(int argc, char** argv) {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    try {
        quorvane::testing::LoopbackHttp server(argc > 1 ? std::stoi(argv[1]) : 0);
        std::cout << "Serving " << server.url("/") << " (Ctrl+C ends)" << std::endl;
        int received = 0;
        sigwait(&signals, &received);
    } catch (const std::exception& error) {
        std::cerr << "quorvane_loopback_http: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
