#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Debouncer.hpp"
#include "core/Published.hpp"
#include "core/RecordCoding.hpp"
#include "platform/BlobStore.hpp"
#include "platform/Log.hpp"
#include "platform/MainQueue.hpp"

namespace quorvane::core {

// Saves records as JSON blobs under string keys and loads them back.
//
// Registering a record loads it at once. A record is saved shortly after it
// changes (so a crash or a kill loses at most the last moment) and again by
// saveAll() at exit. A stored blob that cannot be read or decoded is moved
// aside and kept, never overwritten, and the record keeps its defaults.
class Persistor {
  public:
    // A change is written once changes pause for `saveDelay`, and never
    // later than `maxSaveDelay` after the first unsaved one.
    static constexpr platform::Duration saveDelay = std::chrono::milliseconds(300);
    static constexpr platform::Duration maxSaveDelay = std::chrono::seconds(1);

    struct Item {
        std::string key;
        // The current value encoded, or nothing when there is nothing to save.
        std::function<std::optional<std::string>()> toData;
        // Applies stored bytes; false when they do not decode.
        std::function<bool(const std::string&)> fromData;
    };

    // Keeps a record registered; dropping it unregisters the record.
    class Registration {
      public:
        Registration() = default;
        Registration(Registration&&) noexcept = default;
        Registration& operator=(Registration&&) noexcept;
        Registration(const Registration&) = delete;
        Registration& operator=(const Registration&) = delete;
        ~Registration();

      private:
        friend class Persistor;
        struct State;
        Registration(std::weak_ptr<State> persistor, std::uint64_t id)
            : persistor_(std::move(persistor)), id_(id) {}
        void release();

        std::weak_ptr<State> persistor_;
        std::uint64_t id_ = 0;
        Subscription changes_;
    };

    // `storage` may be null when it could not be opened: then nothing loads
    // and nothing is saved, and the log says so once.
    Persistor(platform::BlobStore* storage, platform::MainQueue& queue, platform::Log& log);
    ~Persistor();
    Persistor(const Persistor&) = delete;
    Persistor& operator=(const Persistor&) = delete;

    // `get` answers the value to save (or nothing); `set` receives the decoded
    // stored value, or nothing when it did not decode.
    template <class T>
    [[nodiscard]] Registration registerRecord(std::string key,
                                              std::function<std::optional<T>()> get,
                                              std::function<void(std::optional<T>)> set) {
        Item item{std::move(key),
                  [get = std::move(get)]() -> std::optional<std::string> {
                      auto value = get();
                      if (!value)
                          return std::nullopt;
                      return encodeRecord(*value);
                  },
                  [set](const std::string& bytes) {
                      auto value = decodeRecord<T>(bytes);
                      const bool decoded = value.has_value();
                      set(std::move(value));
                      return decoded;
                  }};
        return add(std::move(item));
    }

    // Registers a published value: loads it now and saves it after each change.
    template <class T>
    [[nodiscard]] Registration registerPublished(std::string key, Published<T>& published) {
        const std::string changedKey = key;
        Registration registration = registerRecord<T>(
            std::move(key), [&published]() -> std::optional<T> { return published.get(); },
            [&published](std::optional<T> value) {
                if (value)
                    published.set(std::move(*value));
            });
        registration.changes_ =
            published.subscribe([persistor = std::weak_ptr(state_), changedKey](const T&) {
                noteChanged(persistor, changedKey);
            });
        return registration;
    }

    // Schedules a save of the record under `key`.
    void noteChanged(const std::string& key);
    // Writes every record in registration order. A failed write is logged
    // and the others go on.
    void saveAll();

    std::vector<std::string> keys() const;
    bool hasStorage() const { return storage_ != nullptr; }
    std::string location() const;

  private:
    struct Entry {
        std::uint64_t id;
        Item item;
        bool dirty = false;
        bool keepStoredBlob = false;  // the stored blob could not be moved aside
    };

    static void noteChanged(const std::weak_ptr<Registration::State>& persistor,
                            const std::string& key);
    Registration add(Item item);
    void load(Entry& entry);
    void save(Entry& entry);
    void saveChanged();
    void remove(std::uint64_t id);

    platform::BlobStore* storage_;
    platform::Log& log_;
    Debouncer saveDebouncer_;
    std::shared_ptr<Registration::State> state_;
};

}  // namespace quorvane::core
