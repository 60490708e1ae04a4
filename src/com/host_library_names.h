#pragma once

// Everything this component takes from the host engine's type library and the mail helper
// library. Building against another edition of those libraries changes this file alone.

#include "engine.h"

namespace quillmark::com::host {

// The module interface the host calls and the engine interface the module calls back.
using ModuleApi = ::IModuleAPI;
using EngineApi = ::IEngineAPI;
using HostServicesApi = ::IHostServices;
using EventLogWriterApi = ::IEventLogWriter;
using BodyFormatProbeApi = ::IBodyFormatProbe;

inline const IID& kModuleApiIid = IID_IModuleAPI;
inline const IID& kEngineApiIid = IID_IEngineAPI;

// The engine's type library, which describes IModuleAPI for late-bound callers.
inline const GUID& kEngineLibraryId = LIBID_TolvaneInterfaceEngine;
constexpr WORD kEngineLibraryMajor = 1;
constexpr WORD kEngineLibraryMinor = 1;

inline const CLSID& kHostServicesClsid = CLSID_HostServices;
inline const CLSID& kEventLogWriterClsid = CLSID_EventLogWriter;
inline const CLSID& kBodyFormatProbeClsid = CLSID_BodyFormatProbe;

// The mail helper library's classes, reached by programmatic identifier.
constexpr wchar_t kMapiUtilsProgId[] = L"QXOutlook.QXMAPIUtils";
constexpr wchar_t kSafeMailItemProgId[] = L"QXoutlook.QXSafeMailItem";

}  // namespace quillmark::com::host
