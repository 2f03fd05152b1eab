#include <gtest/gtest.h>

#include "core/Setting.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"

namespace quorvane::core {
namespace {

enum class Side { top, bottom };
constexpr EnumOption<Side> sides[] = {{Side::top, "Top", "Top"}, {Side::bottom, "Bottom", "Bottom"}};
constexpr EnumSetting<Side> side{"ArrangeDisplaysTask.position", Side::bottom, sides};
constexpr IntSetting amount{"KeepMacAwakeTask.Manager.periodVlaue", 1, 1, 9999};
constexpr DoubleSetting opacity{"DimTask.Manager.opacity", 0.5, 0.1, 0.9, 0};

// What other programs or older versions left in the user defaults must
// never reach a tweak as a value it cannot handle.
TEST(Setting, storedValuesOfTheWrongKindOrOutOfRangeReadAsTheDefaultOrClamped) {
    platform::memory::MemoryUserDefaults defaults;
    EXPECT_EQ(side.read(defaults), Side::bottom);
    EXPECT_EQ(amount.read(defaults), 1);

    defaults.set("ArrangeDisplaysTask.position", std::string("top"));  // raw values are exact
    EXPECT_EQ(side.read(defaults), Side::bottom);
    defaults.set("ArrangeDisplaysTask.position", std::int64_t{0});
    EXPECT_EQ(side.read(defaults), Side::bottom);
    side.write(defaults, Side::top);
    EXPECT_EQ(defaults.stringValue("ArrangeDisplaysTask.position"), "Top");
    EXPECT_EQ(side.read(defaults), Side::top);

    defaults.set("KeepMacAwakeTask.Manager.periodVlaue", std::int64_t{-4});
    EXPECT_EQ(amount.read(defaults), 1);
    amount.write(defaults, 1'000'000);
    EXPECT_EQ(defaults.intValue("KeepMacAwakeTask.Manager.periodVlaue"), 9999);
    defaults.set("KeepMacAwakeTask.Manager.periodVlaue", std::string("12"));
    EXPECT_EQ(amount.read(defaults), 1);

    defaults.set("DimTask.Manager.opacity", std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(opacity.read(defaults), 0.5);
    defaults.set("DimTask.Manager.opacity", 3.0);
    EXPECT_EQ(opacity.read(defaults), 0.9);
}

}  // namespace
}  // namespace quorvane::core
