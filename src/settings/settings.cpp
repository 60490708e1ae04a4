#include "settings/settings.h"

namespace quillmark {

std::u16string ModuleSettings::Read(const std::u16string& key, const std::u16string& fallback) {
    const std::u16string application = outside_.GetHostServices().RegistryAppName();
    return store_.Read(application, kModuleName, key, fallback);
}

void ModuleSettings::Write(const std::u16string& key, const std::u16string& value) {
    const std::u16string application = outside_.GetHostServices().RegistryAppName();
    store_.Write(application, kModuleName, key, value);
}

}  // namespace quillmark
