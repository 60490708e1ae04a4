#pragma once

// Outlook's objects as the host hands them to the module: items for ZMItemEvent, explorers and
// inspectors for the window events. The module may ask such an object for its type information
// and read Submitted by name; everything else about a mail item is reached through the safe
// mail item wrapper, which binds to the item's fake found here.

#include <ole2.h>
#include <windows.h>

#include <optional>
#include <string>

#include "automation_object.h"
#include "record.h"

namespace standin {

class OutlookObject : public CountedObject<IDispatch, IDispatch> {
  public:
    // typeName: the name of its type information, none for an object without type information.
    // submitted: the value of its Submitted property, none for an object without that property.
    OutlookObject(const std::optional<std::u16string>& typeName, const VARIANT* submitted);

    // The host's Outlook object behind object, or null when it is not one.
    static OutlookObject* Find(IDispatch* object);

    // The item's content, which the safe mail item reads and writes.
    quillmark::testing::FakeOutlookItem& Item() { return item_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

  private:
    ~OutlookObject() override = default;

    quillmark::testing::FakeOutlookItem item_{TheRecord()};
    ComPtr<ITypeInfo> typeInfo_;
    bool hasSubmitted_;
    UniqueVariant submitted_;
};

}  // namespace standin
