#pragma once

#include "platform/platform.h"

namespace quillmark::windows {

// Where Group Policy puts the module's policies, under HKEY_LOCAL_MACHINE for the machine and
// HKEY_CURRENT_USER for the user.
inline constexpr wchar_t kPolicyKeyPath[] = L"Software\\Policies\\Tolvane\\Quillmark";

// The policies in the registry. Group Policy writes the system's own (64-bit) registry view; a
// 32-bit module reads that view too, whether or not the system shares the key between views.
class RegistryPolicyStore : public PolicyStore {
  public:
    StoredValue Read(PolicyScope scope, const std::u16string& key) override;
    std::u16string Location(PolicyScope scope) override;
};

}  // namespace quillmark::windows
