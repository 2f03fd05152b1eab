// Boosts the first display's gamma ramp through the transfer tables, with
// their captures kept in the folder given, then waits to be killed: the
// next run must put the ramp back.
#include <QCoreApplication>
#include <iostream>

#include "display/TransferTables.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/posix/FileBlobStore.hpp"
#include "adapters/x11/RandrDisplays.hpp"

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 2)
        return 2;
    quorvane::platform::memory::MemoryJournal journal;
    quorvane::platform::memory::MemoryLog log;
    auto displays = quorvane::platform::x11::RandrDisplays::connect(journal, log);
    auto kept = quorvane::platform::posix::FileBlobStore::open(argv[1]);
    if (!displays || !kept || displays->displays().empty()) {
        std::cout << "refused" << std::endl;
        return 1;
    }
    quorvane::display::TransferTables tables(*displays, kept.value().get(), journal, log);
    if (!tables.scale("GammaProbe", displays->displays().front().id, 1.6)) {
        std::cout << "refused" << std::endl;
        return 1;
    }
    std::cout << "boosted" << std::endl;
    return QCoreApplication::exec();
}
