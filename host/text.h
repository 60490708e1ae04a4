#pragma once

// Text at the host's boundaries: JSON is UTF-8, COM strings are UTF-16.

#include <ole2.h>
#include <windows.h>

#include <string>
#include <string_view>

namespace standin {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

// The text of a BSTR; a null BSTR is the empty text.
inline std::wstring BstrText(BSTR value) {
    return value ? std::wstring(value, SysStringLen(value)) : std::wstring();
}

// Stores a new BSTR holding text in *out, as an [out] argument receives it.
HRESULT ReturnText(std::wstring_view text, BSTR* out);

// Owns one BSTR, also across [in, out] calls that may replace it.
class Bstr {
  public:
    Bstr() = default;
    explicit Bstr(std::wstring_view text);
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(value_); }

    BSTR Get() const { return value_; }
    BSTR* Address() { return &value_; }
    std::wstring Text() const { return BstrText(value_); }

  private:
    BSTR value_ = nullptr;
};

}  // namespace standin
