#pragma once

#include <gtest/gtest.h>

#include "core/catalogue/CatalogueWorld.hpp"

namespace quorvane::core::testing {

struct CatalogueFixture : ::testing::Test, CatalogueWorld {};

}  // namespace quorvane::core::testing
