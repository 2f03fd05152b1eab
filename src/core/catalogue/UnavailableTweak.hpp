#pragma once

#include <memory>

#include "core/Store.hpp"
#include "core/catalogue/CatalogueRow.hpp"
#include "platform/Log.hpp"

namespace quorvane::core {

// A catalogue tweak whose behaviour is not in this build. It is listed, its
// switch holds its state like any other, and running, refreshing or
// resetting it does nothing to the system; running or resetting says so in
// the log, naming the tweak, rather than pretending to have worked.
std::shared_ptr<Tweak> makeUnavailableTweak(const CatalogueRow& row, Store& store,
                                            platform::Log& log);

}  // namespace quorvane::core
