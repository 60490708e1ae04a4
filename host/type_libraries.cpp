#include "type_libraries.h"

#include <map>
#include <mutex>

namespace standin {

namespace {

ComPtr<ITypeLib> LoadEmbedded(int resource) {
    ComPtr<ITypeLib> library;
    LoadTypeLibEx(EmbeddedLibraryPath(resource).c_str(), REGKIND_NONE, library.Receive());
    return library;
}

// The caches are shared by every apartment of the host, and making type information at run time
// is not safe from two threads at once (Wine's 32-bit oleaut32 crashes in CreateTypeInfo).
std::mutex typeLibraryMutex;

}  // namespace

std::wstring EmbeddedLibraryPath(int resource) {
    wchar_t module[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    return std::wstring(module, length) + L"\\" + std::to_wstring(resource);
}

HRESULT InterfaceTypeInfo(REFIID iid, ComPtr<ITypeInfo>& info) {
    const std::lock_guard<std::mutex> lock(typeLibraryMutex);
    static ComPtr<ITypeLib> libraries[] = {LoadEmbedded(kEngineLibraryResource),
                                           LoadEmbedded(kMailHelperLibraryResource)};
    for (auto& library : libraries)
        if (library && SUCCEEDED(library->GetTypeInfoOfGuid(iid, info.Receive()))) return S_OK;
    return TYPE_E_CANTLOADLIBRARY;
}

ComPtr<ITypeInfo> OutlookTypeInfo(const std::u16string& typeName) {
    const std::lock_guard<std::mutex> lock(typeLibraryMutex);
    // The library that holds Outlook's item types for this run. It lives in memory only.
    static const ComPtr<ICreateTypeLib2> library = [] {
        ComPtr<ICreateTypeLib2> created;
        const SYSKIND kind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
        if (SUCCEEDED(CreateTypeLib2(kind, L"Outlook.tlb", created.Receive())))
            created->SetName(const_cast<LPOLESTR>(L"Outlook"));
        return created;
    }();
    static std::map<std::u16string, ComPtr<ITypeInfo>> cache;
    auto found = cache.find(typeName);
    if (found != cache.end()) return found->second;
    ComPtr<ICreateTypeInfo> created;
    ComPtr<ITypeInfo> info;
    if (!library ||
        FAILED(library->CreateTypeInfo(
            reinterpret_cast<LPOLESTR>(const_cast<char16_t*>(typeName.c_str())), TKIND_DISPATCH,
            created.Receive())) ||
        FAILED(created->LayOut()) || FAILED(created.As(info)))
        return {};
    cache.emplace(typeName, info);
    return info;
}

}  // namespace standin
