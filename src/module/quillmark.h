#pragma once

// CQuillmark, the module object the host engine drives through its module interface: identity,
// start-up and shut-down, window, action and item events, the trace routine and the error lines
// of its own routines, and the seeding of the settings. It holds the only long-lived state of the
// module, the engine reference; items it is handed for sending go to the stamping component.
//
//   CQuillmark module(outside, platform);
//   module.ZMStartup(engine);                   // keeps the engine, seeds the settings
//   module.ZMItemEvent(4, item);                // stamps an item the user is sending
//   module.ZMShutdown();

#include <cstdint>
#include <memory>
#include <string>

#include "outside/outside_ports.h"
#include "platform/platform.h"
#include "settings/settings.h"

namespace quillmark {

class CQuillmark {
  public:
    CQuillmark(OutsideObjects& outside, const Platform& platform);

    std::u16string RegistryName() const { return kModuleName; }
    std::u16string FriendlyName() const { return kModuleName; }
    std::u16string Version() const;

    std::int32_t ZMStartup(EngineCandidate& engine);
    std::int32_t ZMShutdown();
    std::u16string ZMSendMessage() const { return u"noerror"; }
    std::int32_t ZMExplorerOpen();
    std::int32_t ZMExplorerClose() const { return 0; }
    std::int32_t ZMExplorerActivate() const { return 0; }
    std::int32_t ZMExplorerDeactivate() const { return 0; }
    std::int32_t ZMInspectorOpen() const { return 0; }
    std::int32_t ZMInspectorClose() const { return 0; }
    std::int32_t ZMInspectorActivate() const { return 0; }
    std::int32_t ZMInspectorDeactivate() const { return 0; }
    std::int32_t ZMButtonAction() const { return 0; }
    std::int32_t ZMMenuAction() const { return 0; }
    std::int32_t ZMHotkeyAction() const { return 0; }
    // The host's Cancel flag is not an argument: the module leaves it as the host passed it, so a
    // send that the host or another module stopped stays stopped.
    std::int32_t ZMItemEvent(std::int32_t eventSelector, OutlookItem& item);

    // The Windows login name without surrounding blanks, or "User" when it cannot be read.
    std::u16string GetLoginName();

    bool HoldsEngine() const { return m_engine != nullptr; }

  private:
    void EnsureDefaultSettings();
    void ProcessOutgoingEmail(OutlookItem& item);
    void WriteTrace(const std::u16string& routine, const std::u16string& message);
    // One error line through the host's log; a failure of the log itself propagates.
    void ReportError(const std::u16string& message, std::int32_t level,
                     const std::u16string& routine);

    OutsideObjects& outside_;
    Platform platform_;
    ModuleSettings settings_;
    std::unique_ptr<Engine> m_engine;
};

}  // namespace quillmark
