#pragma once

// Makes the host library's and the mail helper library's classes creatable in this process: their
// class factories are registered with COM, so CoCreateInstance from the module (by class
// identifier, or by programmatic identifier through the registry) reaches them.

#include <windows.h>

#include <vector>

namespace standin {

class ClassRegistrations {
  public:
    ClassRegistrations() = default;
    ClassRegistrations(const ClassRegistrations&) = delete;
    ClassRegistrations& operator=(const ClassRegistrations&) = delete;
    ~ClassRegistrations();

    // Throws std::runtime_error when a class cannot be registered.
    void RegisterAll();

  private:
    std::vector<DWORD> cookies_;
};

// Programmatic identifiers of the mail helper library, which the registry maps to its classes.
constexpr wchar_t kMapiUtilsProgId[] = L"QXOutlook.QXMAPIUtils";
constexpr wchar_t kSafeMailItemProgId[] = L"QXoutlook.QXSafeMailItem";

}  // namespace standin
