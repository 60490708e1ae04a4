#include "settings/settings.h"

namespace quillmark {

namespace {

bool Enforceable(const std::u16string& key) {
    for (const SettingDefinition& definition : kSettingTable) {
        if (key == definition.name) return definition.enforceable;
    }
    return false;
}

}  // namespace

std::u16string ModuleSettings::Read(const std::u16string& key, const std::u16string& fallback) {
    if (std::optional<EnforcedValue> enforced = ReadPolicy(key)) return std::move(enforced->text);
    return ReadOwn(key, fallback);
}

std::u16string ModuleSettings::ReadOwn(const std::u16string& key, const std::u16string& fallback) {
    const std::u16string application = outside_.GetHostServices().RegistryAppName();
    return store_.Read(application, kModuleName, key, fallback);
}

std::optional<EnforcedValue> ModuleSettings::ReadPolicy(const std::u16string& key) {
    if (!Enforceable(key)) return std::nullopt;
    for (const PolicyScope scope : {PolicyScope::kMachine, PolicyScope::kUser}) {
        StoredValue value = policies_.Read(scope, key);
        if (value.IsText()) return EnforcedValue{std::move(value.text), scope};
    }
    return std::nullopt;
}

void ModuleSettings::Write(const std::u16string& key, const std::u16string& value) {
    const std::u16string application = outside_.GetHostServices().RegistryAppName();
    store_.Write(application, kModuleName, key, value);
}

}  // namespace quillmark
