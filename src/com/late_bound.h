#pragma once

#include <oaidl.h>
#include <ole2.h>
#include <windows.h>

#include <string>

#include "base/large_text.h"
#include "com/com_ptr.h"
#include "platform/windows/owners.h"

namespace quillmark::com {

// Calls an automation object by member name, as a late-bound client does: the name is resolved
// with GetIDsOfNames at each call and the member is run through Invoke. Failures throw
// quillmark::Error with the callee's description.
class LateBound {
  public:
    explicit LateBound(ComPtr<IDispatch> object) : object_(std::move(object)) {}

    IDispatch* Dispatch() const { return object_.Get(); }

    // Reads a property into result.
    void Get(const wchar_t* name, windows::UniqueVariant& result);
    // Assigns a property.
    void Put(const wchar_t* name, const VARIANT& value);
    // Calls a method without arguments; its value is dropped.
    void Call(const wchar_t* name);

    // Reads a text property (converted as automation converts) and keeps it in the BSTR it came
    // in.
    SharedText GetText(const wchar_t* name);
    // Assigns a text property the pieces joined, straight into the BSTR that carries them.
    void PutText(const wchar_t* name, SplicedText value);

  private:
    void Invoke(const wchar_t* name, WORD flags, DISPPARAMS& params, VARIANT* result);

    ComPtr<IDispatch> object_;
};

}  // namespace quillmark::com
