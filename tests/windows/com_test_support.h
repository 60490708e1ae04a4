#pragma once

// Shared by the component's tests: the built DLL, a COM apartment per test, the DLL loaded into
// the test process with its four entry points, and the owners and names the tests use.

#include <gtest/gtest.h>
#include <ole2.h>
#include <windows.h>

#include <string>

#include "com/com_ptr.h"
#include "platform/windows/owners.h"

namespace quillmark::testing {

using com::ComPtr;
using windows::BstrText;
using windows::MakeBstr;
using windows::UniqueBstr;
using windows::UniqueRegKey;

// The registry's name for the platform of this build's bitness, and the type library's.
#ifdef _WIN64
constexpr const wchar_t* kPlatformKey = L"win64";
constexpr SYSKIND kSysKind = SYS_WIN64;
#else
constexpr const wchar_t* kPlatformKey = L"win32";
constexpr SYSKIND kSysKind = SYS_WIN32;
#endif

// A GUID in braces, as registry keys spell it.
inline std::wstring GuidText(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

// The path of this build's DLL, of the test's own bitness, as Wine sees it (set by the build).
inline const wchar_t* QuillmarkPath() {
    return QUILLMARK_DLL_PATH;
}

// A single-threaded apartment for the duration of one test, as the host's UI thread has.
class Apartment {
  public:
    Apartment() { initialized_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;
    ~Apartment() {
        if (initialized_) CoUninitialize();
    }

  private:
    bool initialized_ = false;
};

// The DLL loaded into this process, with its exports.
class LoadedServer {
  public:
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    using PlainFn = HRESULT(STDAPICALLTYPE*)();

    LoadedServer() : module_(LoadLibraryW(QuillmarkPath())) {
        if (!module_) return;
        getClassObject = reinterpret_cast<GetClassObjectFn>(
            reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
        canUnloadNow = Plain("DllCanUnloadNow");
        registerServer = Plain("DllRegisterServer");
        unregisterServer = Plain("DllUnregisterServer");
    }
    LoadedServer(const LoadedServer&) = delete;
    LoadedServer& operator=(const LoadedServer&) = delete;
    ~LoadedServer() {
        if (module_) FreeLibrary(module_);
    }

    bool Loaded() const {
        return module_ && getClassObject && canUnloadNow && registerServer && unregisterServer;
    }
    // The path the DLL was loaded from, as registration writes it.
    std::wstring Path() const {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(module_, path, MAX_PATH);
        return path;
    }

    GetClassObjectFn getClassObject = nullptr;
    PlainFn canUnloadNow = nullptr;
    PlainFn registerServer = nullptr;
    PlainFn unregisterServer = nullptr;

  private:
    PlainFn Plain(const char* name) {
        return reinterpret_cast<PlainFn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

    HMODULE module_;
};

}  // namespace quillmark::testing
