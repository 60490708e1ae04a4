#pragma once

// Outlook's objects as the host hands them to the module: items for ZMItemEvent, explorers and
// inspectors for the window events. The module may ask such an object for its type information
// and read Submitted by name; everything else about a mail item is reached through the safe
// mail item wrapper, which finds the item's content here.

#include <ole2.h>
#include <windows.h>

#include <atomic>
#include <optional>
#include <string>

#include "owners.h"
#include "record.h"

namespace standin {

struct MailContent {
    std::wstring subject;
    std::wstring body;
    std::wstring htmlBody;
    std::wstring rtfBody;
    std::wstring format;  // what BodyFormatProbe reports for this item
    int saves = 0;
};

class OutlookObject : public IDispatch {
  public:
    // typeName: the name of its type information, none for an object without type information.
    // submitted: the value of its Submitted property, none for an object without that property.
    OutlookObject(std::optional<std::wstring> typeName, std::optional<VARIANT> submitted,
                  MailContent content);
    OutlookObject(const OutlookObject&) = delete;
    OutlookObject& operator=(const OutlookObject&) = delete;

    // The host's Outlook object behind object, or null when it is not one.
    static OutlookObject* Find(IDispatch* object);

    MailContent& Content() { return content_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

  private:
    virtual ~OutlookObject();

    std::atomic<ULONG> references_{1};  // objects may be used from more than one apartment
    InstanceCount count_{"OutlookObject"};
    ComPtr<ITypeInfo> typeInfo_;
    bool hasSubmitted_;
    UniqueVariant submitted_;
    MailContent content_;
};

}  // namespace standin
