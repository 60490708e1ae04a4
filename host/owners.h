#pragma once

// The stand-in host uses the component's own owners of COM pointers, BSTRs, VARIANTs and registry
// keys (header-only), so that both sides hold resources the same way.

#include "com/com_ptr.h"
#include "platform/windows/owners.h"

namespace standin {

using quillmark::com::ComPtr;
using quillmark::windows::MakeBstr;
using quillmark::windows::UniqueBstr;
using quillmark::windows::UniqueExceptionInfo;
using quillmark::windows::UniqueRegKey;
using quillmark::windows::UniqueVariant;

// The host keeps its text as std::wstring.
inline std::wstring BstrText(BSTR value) {
    return quillmark::windows::BstrText<wchar_t>(value);
}

}  // namespace standin
