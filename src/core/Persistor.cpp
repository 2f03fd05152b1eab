#include "core/Persistor.hpp"

#include <algorithm>

namespace quorvane::core {

namespace {
constexpr std::string_view source = "Persistor";
}

struct Persistor::Registration::State {
    Persistor* persistor;
    std::uint64_t nextId = 1;
    std::vector<Entry> entries;
};

Persistor::Registration& Persistor::Registration::operator=(Registration&& other) noexcept {
    if (this != &other) {
        release();
        persistor_ = std::move(other.persistor_);
        id_ = std::exchange(other.id_, 0);
        changes_ = std::move(other.changes_);
    }
    return *this;
}

Persistor::Registration::~Registration() {
    release();
}

void Persistor::Registration::release() {
    changes_.cancel();
    if (auto state = persistor_.lock(); state && id_ != 0)
        state->persistor->remove(id_);
    persistor_.reset();
    id_ = 0;
}

Persistor::Persistor(platform::BlobStore* storage, platform::MainQueue& queue, platform::Log& log)
    : storage_(storage),
      log_(log),
      saveDebouncer_(queue, saveDelay, maxSaveDelay),
      state_(std::make_shared<Registration::State>(Registration::State{this, 1, {}})) {
    if (!storage_)
        log_.error(source, "no storage for records: nothing will be loaded or saved");
}

Persistor::~Persistor() = default;

Persistor::Registration Persistor::add(Item item) {
    const std::uint64_t id = state_->nextId++;
    Entry entry{id, std::move(item)};
    load(entry);
    state_->entries.push_back(std::move(entry));
    return Registration(state_, id);
}

void Persistor::load(Entry& entry) {
    if (!storage_)
        return;
    auto stored = storage_->load(entry.item.key);
    std::string problem;
    if (!stored) {
        problem = stored.error().message;
    } else if (!stored.value()) {
        return;  // never saved: the defaults stay
    } else if (entry.item.fromData(*stored.value())) {
        return;
    } else {
        problem = "it does not decode";
    }

    auto aside = storage_->moveAside(entry.item.key);
    if (aside) {
        log_.error(source, "cannot load \"" + entry.item.key + "\" (" + problem + "); kept it as " +
                               aside.value() + " and using the defaults");
    } else {
        entry.keepStoredBlob = true;
        log_.error(source, "cannot load \"" + entry.item.key + "\" (" + problem +
                               ") nor move it aside (" + aside.error().message +
                               "); it will not be overwritten this session");
    }
}

void Persistor::save(Entry& entry) {
    entry.dirty = false;
    if (!storage_ || entry.keepStoredBlob)
        return;
    auto bytes = entry.item.toData();
    if (!bytes)
        return;
    if (auto written = storage_->save(entry.item.key, *bytes); !written) {
        entry.dirty = true;  // try again with the next change or at exit
        log_.error(source, "cannot save \"" + entry.item.key + "\": " + written.error().message);
    }
}

void Persistor::noteChanged(const std::string& key) {
    bool known = false;
    for (auto& entry : state_->entries) {
        if (entry.item.key == key) {
            entry.dirty = true;
            known = true;
        }
    }
    if (known)
        saveDebouncer_.call([this] { saveChanged(); });
}

void Persistor::noteChanged(const std::weak_ptr<Registration::State>& persistor,
                            const std::string& key) {
    if (auto state = persistor.lock())
        state->persistor->noteChanged(key);
}

void Persistor::saveChanged() {
    for (auto& entry : state_->entries)
        if (entry.dirty)
            save(entry);
}

void Persistor::saveAll() {
    saveDebouncer_.cancel();
    for (auto& entry : state_->entries)
        save(entry);
}

void Persistor::remove(std::uint64_t id) {
    std::erase_if(state_->entries, [id](const Entry& entry) { return entry.id == id; });
}

std::vector<std::string> Persistor::keys() const {
    std::vector<std::string> keys;
    for (const auto& entry : state_->entries)
        keys.push_back(entry.item.key);
    return keys;
}

std::string Persistor::location() const {
    return storage_ ? storage_->location() : "nowhere";
}

}  // namespace quorvane::core
