#pragma once

#include "core/MState.hpp"
#include "core/PState.hpp"
#include "core/Store.hpp"
#include "core/Tweak.hpp"

namespace quorvane::core {

// A tweak with an on/off state. These operations only read or write the
// state; applying it to the system is run()'s job, called when the caller
// decides.
class CanToggle {
  public:
    virtual ~CanToggle() = default;
    virtual bool isOn() const = 0;
    virtual void toggle() = 0;
    virtual void setOn(bool on) = 0;
};

// "M" for mirrored: a toggle of a live system setting (a preference, the
// Bluetooth power). Its state is a field of the Store's MState, which is
// never stored and is read back from the system by refresh(); changed in
// place so the Store announces it.
class CanMToggle : public CanToggle {
  public:
    CanMToggle(Store& store, bool MState::*keyPath) : store_(store), keyPath_(keyPath) {}

    bool MState::*mKeyPath() const { return keyPath_; }

    bool isOn() const final { return store_.mState.get().*keyPath_; }
    void toggle() final {
        store_.mState.modify([&](MState& state) { state.*keyPath_ = !(state.*keyPath_); });
    }
    void setOn(bool on) final {
        store_.mState.modify([&](MState& state) { state.*keyPath_ = on; });
    }

  protected:
    Store& store_;

  private:
    bool MState::*keyPath_;
};

// "P" for persisted: a toggle whose effect lives inside the program (an
// event tap, an overlay). Its state is a field of the Store's PState,
// stored and applied again at launch.
class CanPToggle : public CanToggle {
  public:
    CanPToggle(Store& store, PKeyPath keyPath) : store_(store), keyPath_(keyPath) {}

    const PKeyPath& pKeyPath() const { return keyPath_; }
    Store& store() const { return store_; }

    bool isOn() const final { return keyPath_.read(store_.pState.get()); }
    void toggle() final {
        store_.pState.modify([&](PState& state) { keyPath_.write(state, !keyPath_.read(state)); });
    }
    void setOn(bool on) final {
        store_.pState.modify([&](PState& state) { keyPath_.write(state, on); });
    }

  protected:
    Store& store_;

  private:
    PKeyPath keyPath_;
};

// A toggle that keeps its state itself, in memory for the run.
class InMemoryToggle : public CanToggle {
  public:
    explicit InMemoryToggle(bool on = false) : on_(on) {}
    bool isOn() const override { return on_; }
    void toggle() override { on_ = !on_; }
    void setOn(bool on) override { on_ = on; }

  private:
    bool on_;
};

// Brings a toggle to `on` and applies it with run(). A Store-backed toggle
// is set first, so run() reads the new state; with `applyUnchanged` it is
// applied even when it was already `on`. Any other toggle keeps its state
// itself and flips it in run(), so it runs only when its state differs.
// Answers what came of it: the run's outcome, done when nothing needed
// applying; a one-shot tweak is left alone (refused), and one that is not
// available here too (unavailable). A Store-backed toggle whose run
// refused goes back to where it was.
// A persisted toggle's switch turned so is kept in the store's `switches`.
RunOutcome switchAndApply(Tweak& tweak, bool on, bool applyUnchanged);

// The restore log's kind for our own switches; the target is the tweak's id.
inline constexpr const char* switchKind = "switch";

inline CanToggle* asToggle(Tweak& tweak) {
    return dynamic_cast<CanToggle*>(&tweak);
}
inline CanMToggle* asMToggle(Tweak& tweak) {
    return dynamic_cast<CanMToggle*>(&tweak);
}
inline CanPToggle* asPToggle(Tweak& tweak) {
    return dynamic_cast<CanPToggle*>(&tweak);
}

}  // namespace quorvane::core
