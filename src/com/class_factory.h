#pragma once

#include <unknwn.h>

#include "com/classes.h"

namespace quillmark::com {

// A multi-use class factory: every CreateInstance makes a new, independent object.
HRESULT CreateClassFactory(ObjectCreator create, REFIID iid, void** result);

}  // namespace quillmark::com
