#pragma once

#include <vector>

#include "core/catalogue/CatalogueRow.hpp"

namespace quorvane::core {

// The built-in tweaks, in catalogue order.
const std::vector<CatalogueRow>& builtinCatalogue();

}  // namespace quorvane::core
