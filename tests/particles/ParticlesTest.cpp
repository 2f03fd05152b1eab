#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "particles/Scene.hpp"

namespace quorvane::particles {
namespace {

std::string shipped(const std::string& name) {
    std::ifstream file(std::string(QUORVANE_EFFECTS) + "/" + name + ".json");
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

Preset loaded(const std::string& name) {
    auto load = parsePreset(shipped(name));
    EXPECT_TRUE(load.preset) << name << ": " << load.field << " " << load.problem;
    return load.preset.value_or(Preset{});
}

TEST(ParticlePresets, theShippedOnesLoadWithinTheirBudgets) {
    const std::pair<const char*, int> budgets[] = {
        {"confetti", 300}, {"fireworks", 1000}, {"rain", 2000}, {"rainLand", 400}, {"snow", 600}};
    for (const auto& [name, most] : budgets) {
        const auto preset = loaded(name);
        EXPECT_LE(preset.maxParticles, most) << name;
        EXPECT_FALSE(preset.colours.empty()) << name;
    }
    EXPECT_EQ(loaded("fireworks").blend, Blend::additive);
    EXPECT_EQ(loaded("fireworks").shapes, std::vector<Shape>{Shape::circle});
    EXPECT_EQ(loaded("fireworks").spriteSize, 32);
}

TEST(ParticlePresets, aBadFieldIsRefusedByItsName) {
    const auto good = nlohmann::json::parse(shipped("confetti"));
    struct Case {
        const char* pointer;
        nlohmann::json value;  // null: removed
        const char* field;
    };
    const Case cases[] = {
        {"/lifetime", nullptr, "lifetime"},
        {"/lifetime/range", -1, "lifetime.range"},
        {"/alpha/value", 1.5, "alpha.value"},
        {"/maxParticles", 0, "maxParticles"},
        {"/maxParticles", 2.5, "maxParticles"},
        {"/burstCount", 301, "burstCount"},
        {"/sprite/shapes/0", "hexagon", "sprite.shapes[0]"},
        {"/sprite/size", "big", "sprite.size"},
        {"/colours/1", "#12345", "colours[1]"},
        {"/blend", "screen", "blend"},
        {"/space", "metres", "space"},
        {"/scale/wobble", 1, "scale.wobble"},
        {"/gravity", 1, "gravity"},
        {"/colours", nlohmann::json::array(), "colours"},
        {"/colours", std::vector<std::string>(65, "#ffffff"), "colours"},
    };
    for (const auto& each : cases) {
        auto changed = good;
        const nlohmann::json::json_pointer at(each.pointer);
        if (each.value.is_null())
            changed.at(at.parent_pointer()).erase(at.back());
        else
            changed[at] = each.value;
        const auto load = parsePreset(changed.dump());
        EXPECT_FALSE(load.preset) << each.pointer;
        EXPECT_EQ(load.field, each.field) << each.pointer << ": " << load.problem;
    }
    EXPECT_EQ(parsePreset("{\"space\": ").field, "(top)");
    EXPECT_EQ(parsePreset("[1]").field, "(top)");
}

std::vector<std::pair<double, double>> positions(const ParticleSystem& system) {
    std::vector<std::pair<double, double>> at;
    for (const auto& particle : system.particles())
        at.emplace_back(particle.x, particle.y);
    return at;
}

TEST(ParticleSystems, theSameSeedGivesTheSameFramesAndTheirPoolsNeverGrow) {
    ParticleSystem one(loaded("fireworks"), 42);
    ParticleSystem two(loaded("fireworks"), 42);
    ParticleSystem other(loaded("fireworks"), 43);
    for (auto* system : {&one, &two, &other})
        system->setViewSize(1440, 900);
    for (int frame = 0; frame < 240; ++frame) {
        for (auto* system : {&one, &two, &other})
            system->step(1.0 / 60);
        ASSERT_EQ(positions(one), positions(two)) << "frame " << frame;
    }
    EXPECT_FALSE(one.particles().empty());
    EXPECT_NE(positions(one), positions(other));

    // Bursts and births beyond the pool never grow it, and the pool's own
    // storage is the one taken at the start.
    ParticleSystem rain(loaded("rain"), 1);
    rain.setViewSize(1440, 900);
    rain.emitter().birthRate = 1e5;
    rain.emitter().burstCount = 5000;
    const auto* storage = rain.particles().data();
    for (int frame = 0; frame < 30; ++frame) {
        rain.burst();
        rain.step(1.0 / 60);
        ASSERT_LE(rain.particles().size(), 2000u);
    }
    EXPECT_EQ(rain.particles().size(), 2000u);
    EXPECT_EQ(rain.particles().data(), storage);

    // A preset made in code with no colours or shapes still draws: white squares.
    Preset bare;
    bare.maxParticles = 4;
    bare.burstCount = 4;
    bare.lifetime = {1, 0};
    ParticleSystem plain(bare, 9);
    plain.burst();
    ASSERT_EQ(plain.particles().size(), 4u);
    EXPECT_EQ(plain.preset().colours.at(plain.particles()[3].colour), Colour{});
    EXPECT_EQ(plain.preset().shapes.at(plain.particles()[3].shape), Shape::square);
}

TEST(ParticleSystems, particlesMoveAsThrownAndEndWithTheirLives) {
    auto preset = loaded("confetti");
    preset.damping = 0;
    preset.acceleration = {0, -1};  // a screen height a second, down
    preset.lifetime = {2, 0};
    preset.angle = {M_PI / 2, 0};   // straight up
    preset.speed = {1, 0};
    ParticleSystem system(preset, 3);
    system.setViewSize(1000, 500);
    system.emitter().position = {0.5, 1};
    system.emitter().burstCount = 10;
    system.burst();
    ASSERT_EQ(system.particles().size(), 10u);
    EXPECT_DOUBLE_EQ(system.particles()[0].x, 500);
    EXPECT_DOUBLE_EQ(system.particles()[0].y, 500);
    EXPECT_DOUBLE_EQ(system.particles()[0].vy, -500);  // up the screen
    for (int i = 0; i < 60; ++i)
        system.step(1.0 / 60);
    // After a second it stands at its top: half a height up.
    EXPECT_NEAR(system.particles()[0].y, 250, 5);
    EXPECT_NEAR(system.particles()[0].vy, 0, 1e-6);
    for (int i = 0; i < 61; ++i)
        system.step(1.0 / 60);
    EXPECT_TRUE(system.particles().empty());
}

TEST(ParticleScenes, pointsOfAYUpSceneLandInTheLayer) {
    const Box strip{100, 800, 1200, 60};
    // The bottom-left corner of the scene space is the layer's.
    EXPECT_EQ(fromScene({0, 0}, strip), (Vector{0, 60}));
    // Anchored at its middle, 10 points below its top: 8 above that is
    // 8 points from the top, at the middle.
    const Vector anchor{0.5, 50.0 / 60};
    EXPECT_EQ(fromScene({0, 2}, strip, anchor), (Vector{600, 8}));

    Scene scene("test");
    scene.layers().emplace_back();
    Layer placed;
    placed.fillsView = false;
    placed.box = {0, 0, 10, 10};
    scene.layers().push_back(std::move(placed));
    int resizes = 0;
    scene.resized = [&](Scene& resized, double width, double height) {
        ++resizes;
        resized.layers()[1].box = {0, height - 60, width, 60};
    };
    scene.resize(1440, 900);
    scene.resize(1440, 900);
    EXPECT_EQ(resizes, 1);
    EXPECT_EQ(scene.layers()[0].box, (Box{0, 0, 1440, 900}));
    EXPECT_EQ(scene.layers()[1].box, (Box{0, 840, 1440, 60}));
}

}  // namespace
}  // namespace quorvane::particles
