#include <gtest/gtest.h>

#include "core/Persistor.hpp"
#include "adapters/memory/ManualMainQueue.hpp"
#include "adapters/memory/MemoryBlobStore.hpp"
#include "adapters/memory/MemoryLog.hpp"

namespace quorvane::core {
namespace {

using namespace std::chrono_literals;

struct Counter {
    int value = 0;
    bool operator==(const Counter&) const = default;
};
void to_json(nlohmann::json& json, const Counter& counter) {
    json = {{"value", counter.value}};
}
void from_json(const nlohmann::json& json, Counter& counter) {
    json.at("value").get_to(counter.value);
}

struct PersistorTest : ::testing::Test {
    platform::memory::MemoryBlobStore blobs;
    platform::memory::ManualMainQueue queue;
    platform::memory::MemoryLog log;
    Persistor persistor{&blobs, queue, log};
    Published<Counter> first;
    Published<Counter> second;

    void bump(Published<Counter>& counter) {
        counter.modify([](Counter& c) { ++c.value; });
    }
};

TEST_F(PersistorTest, aBurstOfChangesIsSavedOnceAfterThePause) {
    auto a = persistor.registerPublished("first", first);
    auto b = persistor.registerPublished("second", second);
    bump(first);
    queue.advance(200ms);
    bump(first);
    queue.advance(Persistor::saveDelay - 1ns);
    EXPECT_EQ(blobs.saveCount, 0);
    queue.advance(1ns);
    EXPECT_EQ(blobs.saveCount, 1);  // only the record that changed
    EXPECT_EQ(blobs.blobs.at("first"), R"({"value":2})");
    queue.advance(10s);
    EXPECT_EQ(blobs.saveCount, 1);
    EXPECT_EQ(queue.pendingTimers(), 0u);
}

TEST_F(PersistorTest, aSteadyStreamOfChangesIsStillSavedWithinTheMaximumDelay) {
    auto a = persistor.registerPublished("first", first);
    for (int i = 0; i < 5; ++i) {
        bump(first);
        queue.advance(200ms);
    }
    EXPECT_EQ(blobs.saveCount, 1);
    EXPECT_EQ(blobs.blobs.at("first"), R"({"value":5})");
}

TEST_F(PersistorTest, saveAllWritesInOrderAndGoesOnPastAFailedWrite) {
    auto a = persistor.registerPublished("first", first);
    auto b = persistor.registerPublished("second", second);
    blobs.failingKeys = {"first"};
    bump(first);
    bump(second);
    persistor.saveAll();
    EXPECT_FALSE(blobs.blobs.contains("first"));
    EXPECT_EQ(blobs.blobs.at("second"), R"({"value":1})");
    EXPECT_TRUE(log.contains("cannot save \"first\""));

    // The failed record is still owed to the disk and goes with the next save.
    blobs.failingKeys.clear();
    bump(second);
    queue.advance(Persistor::maxSaveDelay);
    EXPECT_EQ(blobs.blobs.at("first"), R"({"value":1})");
}

TEST_F(PersistorTest, recordsTheGetterDeclinesAreNotWritten) {
    std::optional<Counter> value;
    std::optional<Counter> received{Counter{9}};
    auto registration = persistor.registerRecord<Counter>(
        "maybe", [&] { return value; }, [&](std::optional<Counter> loaded) { received = loaded; });
    EXPECT_EQ(received, Counter{9});  // nothing stored: set is not called
    persistor.saveAll();
    EXPECT_FALSE(blobs.blobs.contains("maybe"));
}

TEST_F(PersistorTest, aBlobThatCannotBeMovedAsideIsNeverOverwritten) {
    struct StubbornStore final : platform::BlobStore {
        platform::memory::MemoryBlobStore inner;
        platform::Result<std::optional<std::string>> load(const std::string& key) const override {
            return inner.load(key);
        }
        platform::Status save(const std::string& key, const std::string& bytes) override {
            return inner.save(key, bytes);
        }
        platform::Status remove(const std::string& key) override { return inner.remove(key); }
        platform::Result<std::string> moveAside(const std::string&) override {
            return platform::Error{"read-only folder"};
        }
        std::string location() const override { return "stubborn"; }
    } stubborn;
    stubborn.inner.blobs["first"] = "{not json";
    Persistor guarded(&stubborn, queue, log);
    auto a = guarded.registerPublished("first", first);
    bump(first);
    guarded.saveAll();
    EXPECT_EQ(stubborn.inner.blobs.at("first"), "{not json");
    EXPECT_TRUE(log.contains("will not be overwritten"));
}

TEST_F(PersistorTest, withoutStorageNothingLoadsOrSavesAndTheLogSaysSo) {
    Persistor nowhere(nullptr, queue, log);
    auto a = nowhere.registerPublished("first", first);
    bump(first);
    queue.advance(10s);
    nowhere.saveAll();
    EXPECT_EQ(blobs.saveCount, 0);
    EXPECT_TRUE(log.contains("no storage"));
}

TEST_F(PersistorTest, droppingTheRegistrationForgetsTheRecord) {
    {
        auto a = persistor.registerPublished("first", first);
        bump(first);
    }
    EXPECT_TRUE(persistor.keys().empty());
    queue.advance(10s);
    persistor.saveAll();
    EXPECT_EQ(blobs.saveCount, 0);
    bump(first);  // no longer observed
    EXPECT_EQ(queue.pendingTimers(), 0u);
}

}  // namespace
}  // namespace quorvane::core
