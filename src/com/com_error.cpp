#include "com/com_error.h"

#include <oleauto.h>

#include <new>

#include "base/error.h"
#include "com/com_ptr.h"
#include "platform/windows/owners.h"
#include "platform/windows/wide.h"
#include "platform/windows/win_error.h"

namespace quillmark::com {

namespace {

constexpr wchar_t kErrorSource[] = L"Quillmark";

void PublishErrorInfo(const std::u16string& description) {
    ComPtr<ICreateErrorInfo> created;
    if (FAILED(CreateErrorInfo(created.Receive()))) return;
    created->SetSource(const_cast<LPOLESTR>(kErrorSource));
    created->SetDescription(const_cast<LPOLESTR>(windows::WidePtr(description)));
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(created.As(info))) SetErrorInfo(0, info.Get());
}

}  // namespace

HRESULT ReportCurrentException() noexcept {
    HRESULT code = E_FAIL;
    try {
        throw;
    } catch (const Error& error) {
        if (FAILED(error.code())) code = error.code();
    } catch (const std::bad_alloc&) {
        code = E_OUTOFMEMORY;
    } catch (...) {
    }
    try {
        PublishErrorInfo(DescribeCurrentException());
    } catch (...) {
        // Without memory for the description the code alone has to do.
    }
    return code;
}

void ThrowOutsideFailure(HRESULT code) {
    ComPtr<IErrorInfo> info;
    windows::UniqueBstr description;
    if (GetErrorInfo(0, info.Receive()) == S_OK && info)
        info->GetDescription(description.Receive());
    const std::u16string text = windows::BstrText(description.Get());
    if (text.empty()) windows::ThrowHresult(code);
    throw Error(text, code);
}

}  // namespace quillmark::com
