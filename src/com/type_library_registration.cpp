#include "com/type_library_registration.h"

#include <ole2.h>

#include <set>
#include <vector>

#include "com/class_root_keys.h"
#include "com/com_ptr.h"
#include "com/type_description_owners.h"
#include "platform/windows/owners.h"
#include "platform/windows/win_error.h"

namespace quillmark::com {

namespace {

using windows::BstrText;
using windows::CheckWithSystemText;
using windows::UniqueBstr;
using windows::UniqueRegKey;

constexpr wchar_t kAutomationMarshaller[] = L"{00020424-0000-0000-C000-000000000046}";
constexpr wchar_t kDispatchMarshaller[] = L"{00020420-0000-0000-C000-000000000046}";
constexpr wchar_t kNeutralLocale[] = L"0";

// What registration needs to know about the library, read from the library itself.
struct LibraryFacts {
    std::wstring key;  // TypeLib\{guid}\major.minor
    std::wstring guid;
    std::wstring version;
    std::wstring title;  // the help string, or the name when there is none
    std::wstring platform;
    WORD flags = 0;
    struct Interface {
        std::wstring key;  // Interface\{iid}
        std::wstring name;
        const wchar_t* marshaller;
    };
    std::vector<Interface> interfaces;
};

std::wstring Hex(unsigned value) {
    wchar_t text[16] = {};
    swprintf(text, 16, L"%x", value);
    return text;
}

// The interfaces RegisterTypeLib registers: dispatch interfaces (dual ones among them) and
// interfaces marked OLE-automation compatible.
void AddInterface(ITypeLib* library, UINT index, LibraryFacts& facts) {
    ComPtr<ITypeInfo> info;
    CheckWithSystemText(library->GetTypeInfo(index, info.Receive()));
    UniqueTypeAttr attributes;
    CheckWithSystemText(Borrow(attributes, info.Get(), &ITypeInfo::GetTypeAttr));
    const TYPEKIND kind = attributes.Get()->typekind;
    const WORD flags = attributes.Get()->wTypeFlags;
    if (kind != TKIND_DISPATCH && !(kind == TKIND_INTERFACE && (flags & TYPEFLAG_FOLEAUTOMATION)))
        return;
    UniqueBstr name;
    CheckWithSystemText(
        library->GetDocumentation(index, name.Receive(), nullptr, nullptr, nullptr));
    const bool vtableCalls = kind == TKIND_INTERFACE || (flags & TYPEFLAG_FDUAL);
    facts.interfaces.push_back({L"Interface\\" + GuidText(attributes.Get()->guid),
                                BstrText<wchar_t>(name.Get()),
                                vtableCalls ? kAutomationMarshaller : kDispatchMarshaller});
}

LibraryFacts ReadLibrary(const std::wstring& modulePath) {
    ComPtr<ITypeLib> library;
    CheckWithSystemText(LoadTypeLibEx(modulePath.c_str(), REGKIND_NONE, library.Receive()));
    UniqueLibAttr lent;
    CheckWithSystemText(Borrow(lent, library.Get(), &ITypeLib::GetLibAttr));
    const TLIBATTR& attributes = *lent.Get();
    LibraryFacts facts;
    facts.guid = GuidText(attributes.guid);
    facts.version = Hex(attributes.wMajorVerNum) + L"." + Hex(attributes.wMinorVerNum);
    facts.key = L"TypeLib\\" + facts.guid + L"\\" + facts.version;
    facts.platform = attributes.syskind == SYS_WIN64 ? L"win64" : L"win32";
    facts.flags = attributes.wLibFlags;

    UniqueBstr name, help;
    CheckWithSystemText(
        library->GetDocumentation(-1, name.Receive(), help.Receive(), nullptr, nullptr));
    facts.title = BstrText<wchar_t>(help.Get() ? help.Get() : name.Get());
    for (UINT index = 0; index < library->GetTypeInfoCount(); ++index)
        AddInterface(library.Get(), index, facts);
    return facts;
}

// This process's registry view first, then the other one where there is one.
std::vector<REGSAM> InterfaceViews() {
#ifdef _WIN64
    return {0, KEY_WOW64_32KEY};
#else
    BOOL wow64 = FALSE;
    if (IsWow64Process(GetCurrentProcess(), &wow64) && wow64) return {0, KEY_WOW64_64KEY};
    return {0};
#endif
}

// The names of a key's subkeys; none when the key is absent.
std::set<std::wstring> SubkeysOf(const std::wstring& path, REGSAM view = 0) {
    std::set<std::wstring> names;
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ | view, key.Receive()) !=
        ERROR_SUCCESS)
        return names;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.insert(name);
    }
    return names;
}

void DeleteKeyIfEmpty(const std::wstring& path, REGSAM view = 0) {
    if (SubkeysOf(path, view).empty()) DeleteClassKey(path, view);
}

// Deletes the key together with the given subkeys when it holds nothing else.
void DeleteKeyIfOnly(const std::wstring& path, const std::set<std::wstring>& sharedSubkeys) {
    const std::set<std::wstring> subkeys = SubkeysOf(path);
    for (const std::wstring& subkey : subkeys)
        if (!sharedSubkeys.count(subkey)) return;
    for (const std::wstring& subkey : subkeys) DeleteClassKey(path + L"\\" + subkey);
    DeleteClassKey(path);
}

}  // namespace

void RegisterTypeLibrary(const std::wstring& modulePath) {
    const LibraryFacts library = ReadLibrary(modulePath);
    CreateClassKey(library.key, library.title);
    CreateClassKey(library.key + L"\\" + kNeutralLocale + L"\\" + library.platform, modulePath);
    CreateClassKey(library.key + L"\\FLAGS", std::to_wstring(library.flags));
    CreateClassKey(library.key + L"\\HELPDIR",
                   modulePath.substr(0, modulePath.find_last_of(L'\\')));

    for (REGSAM view : InterfaceViews()) {
        for (const LibraryFacts::Interface& entry : library.interfaces) {
            CreateClassKey(entry.key, entry.name, view);
            CreateClassKey(entry.key + L"\\ProxyStubClsid", entry.marshaller, view);
            CreateClassKey(entry.key + L"\\ProxyStubClsid32", entry.marshaller, view);
            const UniqueRegKey typeLib =
                CreateClassKey(entry.key + L"\\TypeLib", library.guid, view);
            SetTextValue(typeLib, L"Version", library.version);
        }
    }
}

void UnregisterTypeLibrary(const std::wstring& modulePath) {
    const LibraryFacts library = ReadLibrary(modulePath);
    for (REGSAM view : InterfaceViews()) {
        for (const LibraryFacts::Interface& entry : library.interfaces) {
            for (const wchar_t* subkey : {L"ProxyStubClsid", L"ProxyStubClsid32", L"TypeLib"})
                DeleteClassKey(entry.key + L"\\" + subkey, view);
            DeleteKeyIfEmpty(entry.key, view);
        }
    }

    // Another platform or locale of the same version shares the version key and its FLAGS and
    // HELPDIR; another version shares the library's key.
    const std::wstring locale = library.key + L"\\" + kNeutralLocale;
    DeleteClassKey(locale + L"\\" + library.platform);
    DeleteKeyIfEmpty(locale);
    DeleteKeyIfOnly(library.key, {L"FLAGS", L"HELPDIR"});
    DeleteKeyIfEmpty(L"TypeLib\\" + library.guid);
}

}  // namespace quillmark::com
