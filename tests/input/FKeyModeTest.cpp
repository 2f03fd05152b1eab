#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/CanToggle.hpp"
#include "core/catalogue/BuiltinCatalogue.hpp"
#include "input/InputTweaks.hpp"
#include "input/KeyboardTweakFixture.hpp"
#include "input/keyboard/EnableStandardFKeyTask.hpp"
#include "simmac/SimHidSystem.hpp"

namespace quorvane::input {
namespace {

using namespace platform;

class FKeyMode : public testing::KeyboardTweakFixture {
  protected:
    std::filesystem::path folder = [] {
        auto made = std::filesystem::temp_directory_path() /
                    ("quorvane-hid-" + std::to_string(::getpid()) + "-" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(made);
        return made;
    }();
    sim::SimHidSystem hid{folder, &journal};
    std::shared_ptr<EnableStandardFKeyTask> task = [this] {
        services.hid = &hid;
        core::TweakFactory factory;
        addInputTweaks(factory, services, mouse);
        for (const auto& row : core::builtinCatalogue())
            if (row.info.id == "EnableStandardFKeyTask")
                return std::static_pointer_cast<EnableStandardFKeyTask>((*factory.find(row.info.id))(row));
        return std::shared_ptr<EnableStandardFKeyTask>();
    }();
    ~FKeyMode() override { std::filesystem::remove_all(folder); }
    void switchTo(bool on) { core::switchAndApply(*task, on, true); }
};

TEST_F(FKeyMode, theSwitchWritesTheModeAndMirrorsWhatTheSystemHolds) {
    ASSERT_TRUE(task);
    EXPECT_EQ(task->unavailableReason(), std::nullopt);
    switchTo(true);
    EXPECT_EQ(hid.parameter("HIDFKeyMode"), 1);
    switchTo(false);
    EXPECT_EQ(hid.parameter("HIDFKeyMode"), 0);
    ASSERT_GE(journal.lines().size(), 2u);
    EXPECT_EQ(journal.lines().back(), "SimulatedMac hid set HIDFKeyMode to 0");

    // Changed outside: the refresh follows 1 and 0, and ignores a value
    // that is neither.
    ASSERT_TRUE(hid.force("HIDFKeyMode", 1));
    task->refresh();
    EXPECT_TRUE(task->isOn());
    ASSERT_TRUE(hid.force("HIDFKeyMode", 2));
    task->refresh();
    EXPECT_TRUE(task->isOn());
    ASSERT_TRUE(hid.force("HIDFKeyMode", 0));
    task->refresh();
    EXPECT_FALSE(task->isOn());
}

TEST_F(FKeyMode, aFailedWriteLeavesTheSwitchOnWhatTheSystemHolds) {
    for (const char* step : {"port", "open", "set"}) {
        SCOPED_TRACE(step);
        ASSERT_TRUE(hid.setFailure(step));
        switchTo(true);
        EXPECT_FALSE(task->isOn());  // read back: still 0
        EXPECT_EQ(hid.parameter("HIDFKeyMode"), 0);
    }
    EXPECT_TRUE(log.contains("perform"));

    // Nothing to read back either: the switch goes back to where it was.
    ASSERT_TRUE(hid.setFailure("none"));
    switchTo(true);
    std::ofstream(folder / "hid.json") << "{\"HIDParameters\": {}, \"fail\": \"set\"}";
    switchTo(false);
    EXPECT_TRUE(task->isOn());
}

}  // namespace
}  // namespace quorvane::input
