#pragma once

#include "outside/outside_ports.h"

namespace quillmark::com {

// Reaches the host library's objects by class identifier and the mail helper library's by
// programmatic identifier.
class ComOutsideObjects : public OutsideObjects {
  public:
    HostServices& GetHostServices() override;
    std::unique_ptr<MapiUtils> CreateMapiUtils() override;
    std::unique_ptr<EventLogWriter> CreateEventLogWriter() override;
    std::unique_ptr<SafeMailItem> CreateSafeMailItem() override;
    std::unique_ptr<BodyFormatProbe> CreateBodyFormatProbe() override;
};

// The one instance the COM objects share; it holds no state of its own.
ComOutsideObjects& TheOutsideObjects();

}  // namespace quillmark::com
