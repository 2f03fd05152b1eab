// quorvane-sound: the sounds, in a process of their own so that Qt
// Multimedia and the audio server's libraries leave with it instead of
// staying in the program for good. The program starts it for the first
// sound; it serves the records on its standard input (see SoundServer) and
// leaves when that closes, or 20 s after the last sound while no clicks
// are wanted.
#include <QCoreApplication>

#include "adapters/posix/SoundServer.hpp"
#include "adapters/posix/StderrLog.hpp"
#include "adapters/qt/QtSound.hpp"
#include "helpers/ServeProgram.hpp"

int main(int argc, char** argv) {
    using namespace quorvane;
    const int socket = helpers::takeProgramSocket();
    if (socket < 0)
        return 1;
    QCoreApplication application(argc, argv);
    platform::posix::StderrLog log(platform::LogLevel::warning);
    platform::qt::QtSound sound(log);
    platform::posix::SoundServer server(sound, socket);
    helpers::serveProgram(application, server, socket, std::chrono::seconds(20));
}
