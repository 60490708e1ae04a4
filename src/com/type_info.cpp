#include "com/type_info.h"

#include <oleauto.h>

#include "com/com_error.h"
#include "com/host_library_names.h"
#include "platform/windows/module_file.h"

namespace quillmark::com {

HRESULT LoadQuillmarkTypeInfo(const GUID& iid, ComPtr<ITypeInfo>& info) {
    std::wstring path;
    const HRESULT found = Guarded([&] { path = windows::ThisModulePath(); });
    if (FAILED(found)) return found;
    ComPtr<ITypeLib> library;
    const HRESULT code = LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Receive());
    if (FAILED(code)) return code;
    return library->GetTypeInfoOfGuid(iid, info.Receive());
}

HRESULT LoadModuleApiTypeInfo(ComPtr<ITypeInfo>& info) {
    ComPtr<ITypeLib> library;
    const HRESULT code = LoadRegTypeLib(host::kEngineLibraryId, host::kEngineLibraryMajor,
                                        host::kEngineLibraryMinor, 0, library.Receive());
    if (FAILED(code)) return code;
    return library->GetTypeInfoOfGuid(host::kModuleApiIid, info.Receive());
}

}  // namespace quillmark::com
