// The COM face of the module object: its default interface _CQuillmark (also under the
// identifier of the earlier release) and the host's module interface, both dual.

#include "Quillmark.h"
#include "com/com_error.h"
#include "com/com_object.h"
#include "com/dispatch.h"
#include "com/engine_adapter.h"
#include "com/host_library_names.h"
#include "com/objects.h"
#include "com/outlook_item.h"
#include "com/outside_adapters.h"
#include "com/type_info.h"
#include "module/quillmark.h"
#include "platform/windows/owners.h"
#include "platform/windows/windows_platform.h"

namespace quillmark::com {

namespace {

HRESULT LoadDefaultInterfaceTypeInfo(ComPtr<ITypeInfo>& info) {
    return LoadQuillmarkTypeInfo(IID__CQuillmark, info);
}

// Runs a member of the module object that gives a text or a status into the result slot.
template <class Produce>
HRESULT ReturnText(BSTR* result, Produce&& produce) {
    if (!result) return E_POINTER;
    *result = nullptr;
    return Guarded([&] { *result = windows::MakeBstr(produce()).Detach(); });
}

template <class Produce>
HRESULT ReturnStatus(LONG* status, Produce&& produce) {
    if (!status) return E_POINTER;
    return Guarded([&] { *status = produce(); });
}

class QuillmarkObject final
    : public ComObject<
          QuillmarkObject, DispatchThroughTypeInfo<_CQuillmark, LoadDefaultInterfaceTypeInfo>,
          DispatchThroughTypeInfo<host::ModuleApi, LoadModuleApiTypeInfo>, ISupportErrorInfo> {
  public:
    static const QITAB kInterfaces[];

    QuillmarkObject() : module_(TheOutsideObjects(), windows::WindowsPlatform()) {}

    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
        return iid == IID__CQuillmark || iid == IID_CQuillmark___v0 || iid == host::kModuleApiIid
                   ? S_OK
                   : S_FALSE;
    }

    // _CQuillmark
    HRESULT STDMETHODCALLTYPE GetLoginName(BSTR* result) override {
        return ReturnText(result, [&] { return module_.GetLoginName(); });
    }

    // IModuleAPI
    HRESULT STDMETHODCALLTYPE get_RegistryName(BSTR* value) override {
        return ReturnText(value, [&] { return module_.RegistryName(); });
    }
    HRESULT STDMETHODCALLTYPE get_FriendlyName(BSTR* value) override {
        return ReturnText(value, [&] { return module_.FriendlyName(); });
    }
    HRESULT STDMETHODCALLTYPE get_Version(BSTR* value) override {
        return ReturnText(value, [&] { return module_.Version(); });
    }
    HRESULT STDMETHODCALLTYPE ZMStartup(IDispatch** engine, LONG* status) override {
        return ReturnStatus(status, [&] {
            ComEngineCandidate candidate(engine ? *engine : nullptr, DefaultInterface());
            return module_.ZMStartup(candidate);
        });
    }
    HRESULT STDMETHODCALLTYPE ZMShutdown(LONG* status) override {
        return ReturnStatus(status, [&] { return module_.ZMShutdown(); });
    }
    HRESULT STDMETHODCALLTYPE ZMSendMessage(BSTR*, BSTR* result) override {
        return ReturnText(result, [&] { return module_.ZMSendMessage(); });
    }
    HRESULT STDMETHODCALLTYPE ZMExplorerOpen(IDispatch*, LONG* status) override {
        return ReturnStatus(status, [&] { return module_.ZMExplorerOpen(); });
    }
    HRESULT STDMETHODCALLTYPE ZMExplorerClose(IDispatch*, LONG* status) override {
        return ReturnStatus(status, [&] { return module_.ZMExplorerClose(); });
    }
    HRESULT STDMETHODCALLTYPE ZMExplorerActivate(IDispatch*, LONG* status) override {
        return ReturnStatus(status, [&] { return module_.ZMExplorerActivate(); });
    }
    HRESULT STDMETHODCALLTYPE ZMExplorerDeactivate(IDispatch*, LONG* status) override {
        return ReturnStatus(status, [&] { return module_.ZMExplorerDeactivate(); });
    }
    HRESULT STDMETHODCALLTYPE ZMInspectorOpen(IDispatch*, LONG* status) override {
        return ReturnStatus(status, [&] { return module_.ZMInspectorOpen(); });
    }
    HRESULT STDMETHODCALLTYPE ZMInspectorClose(IDispatch*, LONG* status) override {
        return ReturnStatus(status, [&] { return module_.ZMInspectorClose(); });
    }
    HRESULT STDMETHODCALLTYPE ZMInspectorActivate(IDispatch*, LONG* status) override {
        return ReturnStatus(status, [&] { return module_.ZMInspectorActivate(); });
    }
    HRESULT STDMETHODCALLTYPE ZMInspectorDeactivate(IDispatch*, LONG* status) override {
        return ReturnStatus(status, [&] { return module_.ZMInspectorDeactivate(); });
    }
    HRESULT STDMETHODCALLTYPE ZMButtonAction(LONG*, VARIANT_BOOL*, LONG* status) override {
        return ReturnStatus(status, [&] { return module_.ZMButtonAction(); });
    }
    HRESULT STDMETHODCALLTYPE ZMMenuAction(LONG*, VARIANT_BOOL*, LONG* status) override {
        return ReturnStatus(status, [&] { return module_.ZMMenuAction(); });
    }
    HRESULT STDMETHODCALLTYPE ZMHotkeyAction(LONG*, LONG* status) override {
        return ReturnStatus(status, [&] { return module_.ZMHotkeyAction(); });
    }
    // Cancel is the host's and other modules' to set; the module never touches it.
    HRESULT STDMETHODCALLTYPE ZMItemEvent(LONG* eventSelector, IDispatch** item, VARIANT_BOOL*,
                                          BSTR*, BSTR*, LONG* status) override {
        if (!eventSelector || !status) return E_POINTER;
        return Guarded([&] {
            ComOutlookItem outlookItem(item ? *item : nullptr);
            *status = module_.ZMItemEvent(*eventSelector, outlookItem);
        });
    }

  private:
    ~QuillmarkObject() override = default;

    // The module object as a plain automation object, as it passes itself to the engine.
    IDispatch* DefaultInterface() { return static_cast<_CQuillmark*>(this); }

    quillmark::CQuillmark module_;
};

// The default interface comes first: it is also the object's IUnknown.
const QITAB QuillmarkObject::kInterfaces[] = {
    QITABENT(QuillmarkObject, _CQuillmark),
    QITABENTMULTI(QuillmarkObject, IDispatch, _CQuillmark),
    QITABENTMULTI2(QuillmarkObject, IID_CQuillmark___v0, _CQuillmark),
    QITABENTMULTI2(QuillmarkObject, host::kModuleApiIid, host::ModuleApi),
    QITABENT(QuillmarkObject, ISupportErrorInfo),
    {},
};

}  // namespace

HRESULT CreateQuillmarkObject(REFIID iid, void** result) {
    return QuillmarkObject::Create(iid, result);
}

}  // namespace quillmark::com
