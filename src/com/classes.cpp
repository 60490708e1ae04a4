#include "com/classes.h"

#include "Quillmark.h"
#include "com/objects.h"

namespace quillmark::com {

namespace {

const ClassEntry kClasses[] = {
    {CLSID_CQuillmark, L"Quillmark.CQuillmark", CreateQuillmarkObject},
    {CLSID_CTimeZone, L"Quillmark.CTimeZone", CreateTimeZoneObject},
};

}  // namespace

std::span<const ClassEntry> Classes() {
    return kClasses;
}

const ClassEntry* FindClass(REFCLSID clsid) {
    for (const ClassEntry& entry : kClasses) {
        if (IsEqualCLSID(entry.clsid, clsid)) return &entry;
    }
    return nullptr;
}

}  // namespace quillmark::com
