#include "platform/windows/win_error.h"

#include <cstdio>

#include "base/error.h"
#include "platform/windows/owners.h"
#include "platform/windows/wide.h"

namespace quillmark::windows {

namespace {

// The automation runtime's own texts for the codes an automation call commonly fails with, for
// systems that have no message text for them (Wine has none for most).
const char16_t* AutomationText(HRESULT code) {
    switch (code) {
        case DISP_E_TYPEMISMATCH:
            return u"Type mismatch";
        case DISP_E_OVERFLOW:
            return u"Overflow";
        case E_OUTOFMEMORY:
            return u"Out of memory";
        case E_NOINTERFACE:
            return u"No such interface supported";
        case E_INVALIDARG:
            return u"Invalid procedure call or argument";
        case DISP_E_PARAMNOTFOUND:
            return u"Parameter not found";
        case DISP_E_BADPARAMCOUNT:
            return u"Invalid number of parameters";
        case DISP_E_MEMBERNOTFOUND:
            return u"Member not found";
        case DISP_E_UNKNOWNNAME:
            return u"Unknown name";
        case DISP_E_DIVBYZERO:
            return u"Division by zero";
        default:
            return nullptr;
    }
}

}  // namespace

std::u16string SystemMessage(HRESULT code) {
    UniqueLocalMemory buffer;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(buffer.Receive()), 0,
        nullptr);
    std::u16string text;
    if (length > 0 && buffer) {
        text = FromWide(std::wstring_view(static_cast<const wchar_t*>(buffer.Get()), length));
        while (!text.empty() &&
               (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' '))
            text.pop_back();
    }
    if (text.empty()) {
        if (const char16_t* known = AutomationText(code)) return known;
        char hex[32];
        std::snprintf(hex, sizeof hex, "Error 0x%08lX", static_cast<unsigned long>(code));
        text.assign(hex, hex + std::char_traits<char>::length(hex));
    }
    return text;
}

void ThrowHresult(HRESULT code) {
    throw Error(SystemMessage(code), code);
}

void ThrowWin32(DWORD code) {
    ThrowHresult(HRESULT_FROM_WIN32(code));
}

}  // namespace quillmark::windows
