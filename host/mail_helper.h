#pragma once

// The mail helper library's two classes: QXMAPIUtils, whose Cleanup the module calls at
// shut-down, and QXSafeMailItem, the wrapper through which it reads and writes a mail item.

#include <windows.h>

#include <nlohmann/json.hpp>
#include <optional>

#include "dispatch_object.h"
#include "mailhelper.h"
#include "outlook_object.h"
#include "owners.h"

namespace standin {

class MapiUtils : public DispatchObject<IQXMAPIUtils> {
  public:
    MapiUtils() : DispatchObject("QXMAPIUtils") {}
    HRESULT STDMETHODCALLTYPE Cleanup() override;
};

class SafeMailItem : public DispatchObject<IQXSafeMailItem> {
  public:
    SafeMailItem() : DispatchObject("QXSafeMailItem") {}

    // The item this wrapper is bound to, or null.
    OutlookObject* BoundItem() const { return item_; }

    HRESULT STDMETHODCALLTYPE put_item(IDispatch* value) override;
    HRESULT STDMETHODCALLTYPE putref_item(IDispatch* value) override;
    HRESULT STDMETHODCALLTYPE Save() override;
    HRESULT STDMETHODCALLTYPE get_Subject(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE put_Subject(BSTR value) override;
    HRESULT STDMETHODCALLTYPE get_Body(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE put_Body(BSTR value) override;
    HRESULT STDMETHODCALLTYPE get_HTMLBody(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE put_HTMLBody(BSTR value) override;
    HRESULT STDMETHODCALLTYPE get_RTFBody(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE put_RTFBody(BSTR value) override;
    // A property read that a fault makes answer a value other than text answers it here.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

  private:
    HRESULT Bind(IDispatch* value);
    HRESULT Read(const char* point, std::wstring MailContent::*field, BSTR* value);
    HRESULT Write(const char* point, std::wstring MailContent::*field, BSTR value);

    ComPtr<IDispatch> bound_;
    OutlookObject* item_ = nullptr;         // kept alive by bound_
    std::optional<nlohmann::json> answer_;  // what the current property read answers instead
};

}  // namespace standin
