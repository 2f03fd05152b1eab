#pragma once

#include "adapters/qt/LazyModule.hpp"
#include "platform/DesktopSettings.hpp"

namespace quorvane::platform::qt {

// The desktop's settings through the desktop settings module
// ("libquorvane_gio.so", GSettings), loaded on the first question. Without
// the module no key can be kept, and it says so.
class DesktopSettingsModule final : public DesktopSettings {
  public:
    static constexpr const char* factoryName = "quorvane_make_desktop_settings";

    DesktopSettingsModule(Log& log, QString path)
        : module_(log, "Desktop", "desktop settings module", std::move(path), factoryName) {}

    std::optional<std::string> unusableReason(const std::string& schema,
                                              const std::string& key) const override {
        if (auto* settings = module_.get())
            return settings->unusableReason(schema, key);
        return missing;
    }
    std::optional<std::string> value(const std::string& schema,
                                     const std::string& key) const override {
        auto* settings = module_.get();
        return settings ? settings->value(schema, key) : std::nullopt;
    }
    std::optional<std::string> userValue(const std::string& schema,
                                         const std::string& key) const override {
        auto* settings = module_.get();
        return settings ? settings->userValue(schema, key) : std::nullopt;
    }
    Status set(const std::string& schema, const std::string& key,
               const std::string& value) override {
        if (auto* settings = module_.get())
            return settings->set(schema, key, value);
        return Error{missing};
    }
    Status reset(const std::string& schema, const std::string& key) override {
        if (auto* settings = module_.get())
            return settings->reset(schema, key);
        return Error{missing};
    }

  private:
    static constexpr const char* missing = "the desktop settings module is missing";
    mutable LazyModule<DesktopSettings> module_;
};

}  // namespace quorvane::platform::qt
