#pragma once

// The mail helper library's two classes: QXMAPIUtils, whose Cleanup the module calls at
// shut-down, and QXSafeMailItem, the wrapper through which it reads and writes a mail item. Each
// keeps its state in its fake and records in the run's record.

#include <windows.h>

#include "automation_object.h"
#include "mailhelper.h"
#include "outlook_items.h"
#include "record.h"

namespace standin {

class MapiUtils : public DispatchObject<IQXMAPIUtils> {
  public:
    HRESULT STDMETHODCALLTYPE Cleanup() override;

  private:
    quillmark::testing::FakeMapiUtils fake_{TheRecord()};
};

class SafeMailItem : public DispatchObject<IQXSafeMailItem> {
    using Port = quillmark::SafeMailItem;

  public:
    quillmark::testing::FakeSafeMailItem& Fake() { return fake_; }

    HRESULT STDMETHODCALLTYPE put_item(IDispatch* value) override { return Bind(value); }
    HRESULT STDMETHODCALLTYPE putref_item(IDispatch* value) override { return Bind(value); }
    HRESULT STDMETHODCALLTYPE Save() override;
    HRESULT STDMETHODCALLTYPE get_Subject(BSTR* v) override { return Get(&Port::Subject, v); }
    HRESULT STDMETHODCALLTYPE put_Subject(BSTR v) override { return Put(&Port::SetSubject, v); }
    HRESULT STDMETHODCALLTYPE get_Body(BSTR* v) override { return Get(&Port::Body, v); }
    HRESULT STDMETHODCALLTYPE put_Body(BSTR v) override { return Put(&Port::SetBody, v); }
    HRESULT STDMETHODCALLTYPE get_HTMLBody(BSTR* v) override { return Get(&Port::HTMLBody, v); }
    HRESULT STDMETHODCALLTYPE put_HTMLBody(BSTR v) override { return Put(&Port::SetHTMLBody, v); }
    HRESULT STDMETHODCALLTYPE get_RTFBody(BSTR* v) override { return Get(&Port::RTFBody, v); }
    HRESULT STDMETHODCALLTYPE put_RTFBody(BSTR v) override { return Put(&Port::SetRTFBody, v); }
    // A property read that a fault makes answer a value other than text answers it here.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

  private:
    using Read = quillmark::SharedText (Port::*)();
    using Write = void (Port::*)(quillmark::SplicedText);

    HRESULT Bind(IDispatch* value);
    HRESULT Get(Read read, BSTR* value);
    HRESULT Put(Write write, BSTR value);

    quillmark::testing::FakeSafeMailItem fake_{TheRecord()};
    ComPtr<IDispatch> bound_;  // keeps the item the fake is bound to alive
};

}  // namespace standin
