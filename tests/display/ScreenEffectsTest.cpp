#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "display/DisplayFixture.hpp"
#include "display/effects/ConfettiTask.hpp"
#include "display/effects/ScreenEffects.hpp"
#include "support/NotAFile.hpp"

namespace quorvane::display::testing {
namespace {

class ScreenEffectsTest : public DisplayFixture {
  protected:
    std::vector<std::pair<platform::Overlays::Id, platform::OverlayDescription>> effects() {
        std::vector<std::pair<platform::Overlays::Id, platform::OverlayDescription>> shown;
        for (auto& window : overlays.shown())
            if (window.second.content == platform::OverlayDescription::Content::particles)
                shown.push_back(window);
        return shown;
    }
    std::shared_ptr<particles::Scene> onlyScene() {
        const auto shown = effects();
        EXPECT_EQ(shown.size(), 1u);
        return shown.empty() ? nullptr : shown[0].second.scene;
    }
};

TEST_F(ScreenEffectsTest, confettiFiresOneBurstPerRunAndLeaves20sAfterTheLast) {
    (void)tweak("ConfettiTask").run();
    const auto window = effects();
    ASSERT_EQ(window.size(), 1u);
    const auto& description = window[0].second;
    EXPECT_EQ(description.level, platform::overlayLevel::effects);
    EXPECT_TRUE(description.passesInput);
    EXPECT_FALSE(description.takesFocus);
    EXPECT_EQ(description.frame, displays.screens().front().frame);

    // Each cannon fires 150 from its bottom corner, up and inwards at 60°.
    const auto scene = description.scene;
    const auto& cannons = scene->layers().at(0).systems;
    ASSERT_EQ(cannons.size(), 2u);
    const double width = description.frame.size.width;
    const double height = description.frame.size.height;
    for (std::size_t side = 0; side < 2; ++side) {
        const auto particles = cannons[side].particles();
        ASSERT_EQ(particles.size(), 150u);
        const double spread = cannons[side].emitter().angle.range / 2 + 1e-9;
        const double aim = side == 0 ? M_PI / 3 : 2 * M_PI / 3;
        for (const auto& particle : particles) {
            EXPECT_EQ(particle.x, side == 0 ? 0 : width);
            EXPECT_EQ(particle.y, height);
            EXPECT_NEAR(std::atan2(-particle.vy, particle.vx), aim, spread);
        }
    }

    queue.advance(std::chrono::seconds(5));
    (void)tweak("ConfettiTask").run();
    queue.advance(std::chrono::seconds(5));
    (void)tweak("ConfettiTask").run();
    EXPECT_EQ(scene->bursts(), 3);
    EXPECT_EQ(effects().size(), 1u);  // the same window all along
    queue.advance(std::chrono::milliseconds(19900));
    EXPECT_EQ(effects().size(), 1u);
    queue.advance(std::chrono::milliseconds(200));
    EXPECT_TRUE(effects().empty());

    // The next run starts afresh.
    (void)tweak("ConfettiTask").run();
    ASSERT_EQ(effects().size(), 1u);
    EXPECT_NE(effects()[0].second.scene, scene);
    EXPECT_EQ(dynamic_cast<ConfettiTask&>(tweak("ConfettiTask")).manager().counter.get(), 4);
}

// Each of several quick runs fires a whole burst of 150 a cannon, in no
// more memory than two take: the oldest pieces make room.
TEST_F(ScreenEffectsTest, quickConfettiRunsEachFireAWholeBurstInPlaceOfTheOldest) {
    (void)tweak("ConfettiTask").run();
    const auto scene = onlyScene();
    ASSERT_TRUE(scene);
    for (int run = 2; run <= 4; ++run) {
        scene->step(0.25);
        (void)tweak("ConfettiTask").run();
        for (const auto& cannon : scene->layers().at(0).systems) {
            const auto live = cannon.particles();
            EXPECT_EQ(live.size(), 300u) << "run " << run;
            EXPECT_EQ(std::count_if(live.begin(), live.end(),
                                    [](const particles::Particle& piece) { return piece.age == 0; }),
                      150)
                << "run " << run;
            EXPECT_TRUE(std::all_of(live.begin(), live.end(), [](const particles::Particle& piece) {
                return piece.age <= 0.25;
            })) << "run " << run;
        }
    }
}

TEST_F(ScreenEffectsTest, offDropsWindowAndSceneAndOnAgainMakesNewOnes) {
    switchTo("RainTask", true);
    std::weak_ptr<particles::Scene> first = onlyScene();
    ASSERT_FALSE(first.expired());
    auto scene = first.lock();
    ASSERT_EQ(scene->layers().size(), 2u);
    // Rain from the top edge over two and a half widths; splashes in a
    // strip along the visible frame's bottom.
    const auto screen = displays.screens().front();
    const auto& rain = scene->layers()[0].systems.at(0).emitter();
    EXPECT_EQ(rain.position.y, 0);
    EXPECT_EQ(rain.positionRange.x, 2.5 * screen.frame.size.width);
    const auto& strip = scene->layers()[1];
    const double visibleBottom = screen.frame.maxY() - screen.visibleFrame.origin.y;
    EXPECT_EQ(strip.box.y + strip.box.height, visibleBottom);
    EXPECT_EQ(strip.box.height, RainTask::splashHeight);
    EXPECT_EQ(strip.systems.at(0).emitter().position.y, 8);
    EXPECT_EQ(strip.systems.at(0).emitter().positionRange.x, 0.6 * strip.box.width);
    scene.reset();

    switchTo("RainTask", true);  // on again while on: the same window
    EXPECT_FALSE(first.expired());
    switchTo("RainTask", false);
    EXPECT_TRUE(effects().empty());
    EXPECT_TRUE(first.expired());
    switchTo("RainTask", true);
    EXPECT_NE(onlyScene().get(), nullptr);
    switchTo("RainTask", false);

    // Snow's emitter follows every resize.
    switchTo("SnowTask", true);
    auto snow = onlyScene();
    snow->resize(800, 600);
    const auto& flakes = snow->layers()[0].systems.at(0).emitter();
    EXPECT_EQ(flakes.position, (particles::Vector{400, 0}));
    EXPECT_EQ(flakes.positionRange, (particles::Vector{800, 600}));
    EXPECT_EQ(flakes.spriteSize, 60);
    EXPECT_EQ(flakes.lifetime, (particles::Ranged{5, 10}));
}

TEST_F(ScreenEffectsTest, withoutTranslucencyItSaysSoAndShowsNothing) {
    overlays.translucent = false;
    switchTo("FireworkTask", true);
    EXPECT_FALSE(isOn("FireworkTask"));
    (void)tweak("ConfettiTask").run();
    EXPECT_TRUE(overlays.shown().empty());
    ASSERT_EQ(alerts.shown.size(), 2u);
    EXPECT_EQ(alerts.shown[0].informativeText, EffectWindow::needsCompositing);
}

TEST_F(ScreenEffectsTest, aRefusedPresetIsLoggedByFileAndFieldAndShowsNothing) {
    const auto broken = folder.path() / "effects";
    std::filesystem::create_directories(broken);
    std::filesystem::copy(shippedEffects(), broken, std::filesystem::copy_options::overwrite_existing);
    std::ofstream(broken / "snow.json") << R"({"space": "points"})";
    services.effects = broken;
    switchTo("SnowTask", true);
    EXPECT_TRUE(log.contains("snow.json is refused: its field \"maxParticles\" is missing"));
    EXPECT_EQ(onlyScene()->particleCount(), 0u);
    EXPECT_TRUE(onlyScene()->layers().at(0).systems.empty());
}

// A FIFO, a folder or a runaway file in a preset's place is refused at once,
// never waited on, and the effect shows nothing.
TEST_F(ScreenEffectsTest, aPresetThatIsNotAFileIsRefusedWithoutWaiting) {
    using quorvane::testing::NotAFile;
    for (const auto kind : {NotAFile::fifo, NotAFile::folder, NotAFile::runaway}) {
        const auto effects = folder.path() / "effects" / nameOf(kind);
        ASSERT_TRUE(quorvane::testing::putInPlace(kind, effects / "snow.json")) << nameOf(kind);
        services.effects = effects;
        quorvane::testing::FifoRescue rescue(effects / "snow.json");
        EXPECT_FALSE(loadEffectPreset(services, "SnowTask", "snow")) << nameOf(kind);
        rescue.done();
        EXPECT_FALSE(rescue.rescued()) << nameOf(kind) << ": the effect waited on it";
    }
    EXPECT_EQ(std::ranges::count_if(log.lines,
                                    [](const auto& line) {
                                        return line.message.find("snow.json cannot be read") !=
                                               std::string::npos;
                                    }),
              3);
}

}  // namespace
}  // namespace quorvane::display::testing
