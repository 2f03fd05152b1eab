#include "adapters/gio/GioDesktopSettings.hpp"

#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>

#include <memory>
#include <string_view>

namespace quorvane::platform::gio {

namespace {

template <class T, void (*free)(T*)>
struct Freed {
    void operator()(T* pointer) const {
        if (pointer)
            free(pointer);
    }
};
using Schema = std::unique_ptr<GSettingsSchema, Freed<GSettingsSchema, g_settings_schema_unref>>;
using SchemaKey =
    std::unique_ptr<GSettingsSchemaKey, Freed<GSettingsSchemaKey, g_settings_schema_key_unref>>;
using Variant = std::unique_ptr<GVariant, Freed<GVariant, g_variant_unref>>;
using Text = std::unique_ptr<gchar, Freed<void, g_free>>;

void unrefObject(void* object) {
    g_object_unref(object);
}
using Object = std::unique_ptr<void, Freed<void, unrefObject>>;

Schema lookup(const std::string& id) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    return Schema(source ? g_settings_schema_source_lookup(source, id.c_str(), TRUE) : nullptr);
}

// The settings object of a schema that has `key`; nothing otherwise.
Object settingsFor(const std::string& schema, const std::string& key, Schema* found = nullptr) {
    Schema looked = lookup(schema);
    if (!looked || !g_settings_schema_has_key(looked.get(), key.c_str()))
        return nullptr;
    Object settings(g_settings_new_full(looked.get(), nullptr, nullptr));
    if (found)
        *found = std::move(looked);
    return settings;
}

GSettings* asSettings(const Object& object) {
    return static_cast<GSettings*>(object.get());
}

std::optional<std::string> printed(GVariant* value) {
    Variant owned(value);
    if (!owned)
        return std::nullopt;
    Text text(g_variant_print(owned.get(), FALSE));
    return std::string(text.get());
}

std::string missing(const std::string& schema, const std::string& key) {
    return "the desktop settings have no " + schema + " " + key;
}

}  // namespace

std::optional<std::string> GioDesktopSettings::unusableReason(const std::string& schema,
                                                              const std::string& key) const {
    if (!settingsFor(schema, key))
        return missing(schema, key) + " (package gsettings-desktop-schemas)";
    Object backend(g_settings_backend_get_default());
    const std::string_view kind = backend ? G_OBJECT_TYPE_NAME(backend.get()) : "";
    if (kind.empty() || kind == "GMemorySettingsBackend" || kind == "GNullSettingsBackend")
        return std::string("no settings store keeps desktop settings here (package "
                           "dconf-gsettings-backend)");
    return std::nullopt;
}

std::optional<std::string> GioDesktopSettings::value(const std::string& schema,
                                                     const std::string& key) const {
    auto settings = settingsFor(schema, key);
    if (!settings)
        return std::nullopt;
    return printed(g_settings_get_value(asSettings(settings), key.c_str()));
}

std::optional<std::string> GioDesktopSettings::userValue(const std::string& schema,
                                                         const std::string& key) const {
    auto settings = settingsFor(schema, key);
    if (!settings)
        return std::nullopt;
    return printed(g_settings_get_user_value(asSettings(settings), key.c_str()));
}

Status GioDesktopSettings::set(const std::string& schema, const std::string& key,
                               const std::string& value) {
    Schema found;
    auto settings = settingsFor(schema, key, &found);
    if (!settings)
        return Error{missing(schema, key)};
    SchemaKey described(g_settings_schema_get_key(found.get(), key.c_str()));
    GError* error = nullptr;
    Variant parsed(g_variant_parse(g_settings_schema_key_get_value_type(described.get()),
                                   value.c_str(), nullptr, nullptr, &error));
    if (!parsed) {
        std::string why = error ? error->message : "not a value";
        g_clear_error(&error);
        return Error{schema + " " + key + " cannot be " + value + ": " + why};
    }
    if (!g_settings_schema_key_range_check(described.get(), parsed.get()))
        return Error{schema + " " + key + " does not take " + value};
    if (!g_settings_set_value(asSettings(settings), key.c_str(), parsed.get()))
        return Error{schema + " " + key + " is locked by the administrator"};
    g_settings_sync();
    return success();
}

Status GioDesktopSettings::reset(const std::string& schema, const std::string& key) {
    auto settings = settingsFor(schema, key);
    if (!settings)
        return Error{missing(schema, key)};
    g_settings_reset(asSettings(settings), key.c_str());
    g_settings_sync();
    return success();
}

}  // namespace quorvane::platform::gio
