#pragma once

// Owners of the Win32 and automation resources this component and its stand-in host use, all
// built on the one owner template. Header-only, so that the stand-in host can share it.
//
//   UniqueBstr text = MakeBstr(u"Quillmark");   // SysFreeString when it goes
//   UniqueVariant value;                        // VariantClear when it goes
//   object->Invoke(..., value.Receive(), ...);

#include <windows.h>
// After windows.h, which they need.
#include <oaidl.h>
#include <oleauto.h>

#include <new>
#include <string>
#include <string_view>

#include "base/large_text.h"
#include "base/unique_any.h"

namespace quillmark::windows {

// A null BSTR is the empty text, as automation treats it.
using UniqueBstr = UniqueAny<BSTR, &SysFreeString>;
using UniqueVariant = UniqueAny<VARIANT, &VariantClear>;
using UniqueRegKey = UniqueAny<HKEY, &RegCloseKey>;
using UniqueLocalMemory = UniqueAny<HLOCAL, &LocalFree>;
// Only for handles whose failure value is null: CreateFile's INVALID_HANDLE_VALUE is checked first.
using UniqueHandle = UniqueAny<HANDLE, &CloseHandle>;

inline void ClearExceptionInfo(EXCEPINFO* info) {
    SysFreeString(info->bstrSource);
    SysFreeString(info->bstrDescription);
    SysFreeString(info->bstrHelpFile);
}
// What IDispatch::Invoke reports of an exception: its three texts are freed with it.
using UniqueExceptionInfo = UniqueAny<EXCEPINFO, &ClearExceptionInfo>;

// A new BSTR holding text; throws std::bad_alloc when there is no memory for it.
template <class Char>
UniqueBstr MakeBstr(std::basic_string_view<Char> text) {
    static_assert(sizeof(Char) == sizeof(OLECHAR), "BSTR text is UTF-16");
    UniqueBstr value(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                       static_cast<UINT>(text.size())));
    if (!value) throw std::bad_alloc();
    return value;
}
inline UniqueBstr MakeBstr(std::u16string_view text) {
    return MakeBstr<char16_t>(text);
}
inline UniqueBstr MakeBstr(std::wstring_view text) {
    return MakeBstr<wchar_t>(text);
}

// A new BSTR holding the pieces joined, built in place; throws std::bad_alloc like MakeBstr.
inline UniqueBstr MakeBstr(const SplicedText& text) {
    UniqueBstr value(SysAllocStringLen(nullptr, static_cast<UINT>(text.size())));
    if (!value) throw std::bad_alloc();
    OLECHAR* next = value.Get();
    for (const auto piece : text) {
        std::char_traits<char16_t>::copy(reinterpret_cast<char16_t*>(next), piece.data(),
                                         piece.size());
        next += piece.size();
    }
    return value;
}

// The text of a BSTR, which may hold NULs; a null BSTR is the empty text.
template <class Char = char16_t>
std::basic_string<Char> BstrText(BSTR value) {
    static_assert(sizeof(Char) == sizeof(OLECHAR), "BSTR text is UTF-16");
    if (!value) return {};
    const auto* text = reinterpret_cast<const Char*>(value);
    return std::basic_string<Char>(text, text + SysStringLen(value));
}

}  // namespace quillmark::windows
