#include "platform/windows/policy_store.h"

#include <windows.h>

#include "platform/windows/registry_value.h"
#include "platform/windows/wide.h"

namespace quillmark::windows {

StoredValue RegistryPolicyStore::Read(PolicyScope scope, const std::u16string& key) {
    const HKEY root = scope == PolicyScope::kMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    return ReadRegistryValue(root, kPolicyKeyPath, ToWide(key), KEY_WOW64_64KEY);
}

std::u16string RegistryPolicyStore::Location(PolicyScope scope) {
    return (scope == PolicyScope::kMachine ? u"HKEY_LOCAL_MACHINE\\" : u"HKEY_CURRENT_USER\\") +
           FromWide(kPolicyKeyPath);
}

}  // namespace quillmark::windows
