// Plays a user's session for the termination tests: starts the program's
// services exactly as the application does, changes a toggle and a
// workflow, says so, and keeps running until it is killed.
#include <QCoreApplication>
#include <iostream>

#include "wiring/AppServices.hpp"

using namespace quorvane;

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    app::AppServices services(platform::posix::XdgDirectories::current());
    services.store().pState.modify([](core::PState& state) { state.snapsWindows = true; });
    services.store().preference.modify([](core::Preference& preference) {
        preference.workflows.push_back({"probe", "Probe", "star", "Teal"});
    });
    std::cout << "changed" << std::endl;
    return QCoreApplication::exec();
}
