#pragma once

// The outside operations that can be made to fail, by the names the unit tests, the fuzz targets
// and the stand-in host's scenarios use. Each fake checks its operation under one of these names
// when it is called (HostRecord::Check), so a new operation is added here and in its fake only.

#include <algorithm>
#include <iterator>
#include <string_view>

namespace quillmark::testing {

inline constexpr std::string_view kFaultPoints[] = {
    "engine.TraceMessage",
    "engine.SubscribeItemEvent",
    "hostservices.create",
    "hostservices.WriteLog",
    "hostservices.RegistryAppName",
    "mapiutils.create",
    "mapiutils.Cleanup",
    "eventlog.create",
    "eventlog.WriteEvent",
    "safeitem.create",
    "safeitem.item",
    "safeitem.Save",
    "safeitem.Subject.get",
    "safeitem.Subject.put",
    "safeitem.Body.get",
    "safeitem.Body.put",
    "safeitem.HTMLBody.get",
    "safeitem.HTMLBody.put",
    "safeitem.RTFBody.get",
    "safeitem.RTFBody.put",
    "probe.create",
    "probe.GetBodyFormat",
    "item.Submitted",
};

inline bool IsFaultPoint(std::string_view name) {
    return std::find(std::begin(kFaultPoints), std::end(kFaultPoints), name) !=
           std::end(kFaultPoints);
}

}  // namespace quillmark::testing
