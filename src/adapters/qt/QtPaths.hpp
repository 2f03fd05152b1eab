#pragma once

#include <QPainterPath>
#include <vector>

#include "platform/NotchShape.hpp"

namespace quorvane::platform::qt {

// An outline as Qt draws it (Qt counts angles the other way round).
QPainterPath painterPath(const std::vector<PathElement>& outline);

}  // namespace quorvane::platform::qt
