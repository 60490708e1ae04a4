#pragma once

// The type information behind the host's objects. The host engine's and the mail helper's type
// libraries are resources of quillmark-host.exe; Outlook's item types are made at run time, one
// per type name a scenario uses.

#include <ole2.h>
#include <windows.h>

#include <string>

#include "com/com_ptr.h"

namespace standin {

using quillmark::com::ComPtr;

// Resource numbers of the embedded type libraries (TYPELIB resources).
constexpr int kEngineLibraryResource = 1;
constexpr int kMailHelperLibraryResource = 2;

// The path LoadTypeLib understands for one embedded type library: "<exe>\<resource>".
std::wstring EmbeddedLibraryPath(int resource);

// The description of an interface of the engine or mail helper library, into info.
HRESULT InterfaceTypeInfo(REFIID iid, ComPtr<ITypeInfo>& info);

// A dispatch type named typeName, as Outlook's object library describes its items ("_MailItem").
ComPtr<ITypeInfo> OutlookTypeInfo(const std::u16string& typeName);

}  // namespace standin
