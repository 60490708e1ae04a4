#pragma once

// Ports to the objects outside this component that the module talks to: the host engine, the
// host library's service objects, the Outlook item and the mail helper library. Every operation
// either succeeds or throws quillmark::Error in the calling routine. src/com adapts them to the
// real COM objects; the native tests use fakes.
//
//   std::unique_ptr<SafeMailItem> mail = outside.CreateSafeMailItem();
//   mail->BindItem(item);
//   outside.GetHostServices().WriteLog(u"Error occurred.  Reason: ...", 0, u"Quillmark.Startup");

#include <cstdint>
#include <memory>
#include <string>

#include "base/large_text.h"

namespace quillmark {

// The host engine object (IEngineAPI). The adapter passes the calling module object as the
// first argument of both operations; the values they return are of no interest to the module.
class Engine {
  public:
    virtual ~Engine() = default;
    virtual void TraceMessage(const std::u16string& source, const std::u16string& message) = 0;
    virtual void SubscribeItemEvent(std::int32_t eventSelector, const std::u16string& folderEntryId,
                                    const std::u16string& folderStoreId) = 0;
};

// The object the host hands to ZMStartup: it still has to be asked for its engine interface,
// and that request may fail.
class EngineCandidate {
  public:
    virtual ~EngineCandidate() = default;
    // Null for an empty object reference, which the automation runtime assigns without
    // complaint; an object without the engine interface throws.
    virtual std::unique_ptr<Engine> QueryEngine() = 0;
};

// The host library's global service object.
class HostServices {
  public:
    virtual ~HostServices() = default;
    virtual void WriteLog(const std::u16string& message, std::int32_t level,
                          const std::u16string& source) = 0;
    virtual std::u16string RegistryAppName() = 0;
};

// An Outlook item as the host passes it to ZMItemEvent.
class OutlookItem {
  public:
    virtual ~OutlookItem() = default;
    // The type name the automation runtime reports ("MailItem" for a mail message).
    virtual std::u16string TypeName() = 0;
    // Reads the late-bound Submitted property and compares it with True by automation equality.
    virtual bool SubmittedEqualsTrue() = 0;
};

// The mail helper library's safe mail item wrapper; every subject and body access goes through it.
class SafeMailItem {
  public:
    virtual ~SafeMailItem() = default;
    virtual void BindItem(OutlookItem& item) = 0;  // assigns the item property
    virtual void Save() = 0;
    // Subjects and bodies may be large: they are read in the buffer they come in and written
    // as pieces, joined once where they are stored; the source the pieces were cut from is let
    // go of as soon as they are joined.
    virtual SharedText Subject() = 0;
    virtual void SetSubject(SplicedText value) = 0;
    virtual SharedText Body() = 0;
    virtual void SetBody(SplicedText value) = 0;
    virtual SharedText HTMLBody() = 0;
    virtual void SetHTMLBody(SplicedText value) = 0;
    virtual SharedText RTFBody() = 0;
    virtual void SetRTFBody(SplicedText value) = 0;
};

class BodyFormatProbe {
  public:
    virtual ~BodyFormatProbe() = default;
    // "HTML", "RTF", or anything else for plain text.
    virtual std::u16string GetBodyFormat(SafeMailItem& item) = 0;
};

class MapiUtils {
  public:
    virtual ~MapiUtils() = default;
    virtual void Cleanup() = 0;
};

class EventLogWriter {
  public:
    virtual ~EventLogWriter() = default;
    virtual void WriteEvent(const std::u16string& application, const std::u16string& procedure,
                            const std::u16string& message, std::int32_t level) = 0;
};

// Reaches the outside objects. HostServices exists once per thread: created on first use, kept
// for the thread's life and never released. Every Create call makes a new object, which its
// caller releases before returning.
class OutsideObjects {
  public:
    virtual ~OutsideObjects() = default;
    virtual HostServices& GetHostServices() = 0;
    virtual std::unique_ptr<MapiUtils> CreateMapiUtils() = 0;
    virtual std::unique_ptr<EventLogWriter> CreateEventLogWriter() = 0;
    virtual std::unique_ptr<SafeMailItem> CreateSafeMailItem() = 0;
    virtual std::unique_ptr<BodyFormatProbe> CreateBodyFormatProbe() = 0;
};

}  // namespace quillmark
