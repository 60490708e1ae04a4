#pragma once

#include <windows.h>

namespace quillmark::com {

// Create a new instance of one of the component's classes and ask it for iid.
HRESULT CreateQuillmarkObject(REFIID iid, void** result);
HRESULT CreateTimeZoneObject(REFIID iid, void** result);

}  // namespace quillmark::com
