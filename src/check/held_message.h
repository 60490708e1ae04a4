#pragma once

// The objects outside the module as the check plays them: one message held in memory in place of
// the Outlook item and its safe mail item, a body-format probe that knows the message's format,
// and host services whose application name is the one being checked and whose log is kept.
// Nothing is sent, saved or written anywhere.

#include <memory>
#include <string>
#include <vector>

#include "outside/outside_ports.h"

namespace quillmark::check {

// A message as the stamping routine left it.
struct HeldMessage {
    std::u16string format;
    std::u16string subject;
    std::u16string body;  // the body of the message's format; the others stay empty
    bool subjectWritten = false;
    bool bodyWritten = false;
    std::vector<std::u16string> trace;
    std::vector<std::u16string> log;
};

class CheckHostServices : public HostServices {
  public:
    CheckHostServices(std::u16string application, std::vector<std::u16string>& log)
        : application_(std::move(application)), log_(log) {}
    void WriteLog(const std::u16string& message, std::int32_t, const std::u16string&) override {
        log_.push_back(message);
    }
    std::u16string RegistryAppName() override { return application_; }

  private:
    std::u16string application_;
    std::vector<std::u16string>& log_;
};

class HeldOutside : public OutsideObjects {
  public:
    HeldOutside(std::u16string application, HeldMessage& message)
        : message_(message), services_(std::move(application), message.log) {}

    HostServices& GetHostServices() override { return services_; }
    std::unique_ptr<SafeMailItem> CreateSafeMailItem() override;
    std::unique_ptr<BodyFormatProbe> CreateBodyFormatProbe() override;
    // Stamping never asks for these; the check has no mail helper library or event log.
    std::unique_ptr<MapiUtils> CreateMapiUtils() override;
    std::unique_ptr<EventLogWriter> CreateEventLogWriter() override;

  private:
    HeldMessage& message_;
    CheckHostServices services_;
};

}  // namespace quillmark::check
