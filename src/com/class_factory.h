#pragma once

#include <unknwn.h>

namespace quillmark::com {

using ObjectCreator = HRESULT (*)(REFIID iid, void** result);

// A multi-use class factory: every CreateInstance makes a new, independent object.
HRESULT CreateClassFactory(ObjectCreator create, REFIID iid, void** result);

}  // namespace quillmark::com
