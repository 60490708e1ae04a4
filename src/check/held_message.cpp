#include "check/held_message.h"

#include "base/error.h"

namespace quillmark::check {

namespace {

class HeldMailItem : public SafeMailItem {
  public:
    explicit HeldMailItem(HeldMessage& message) : message_(message) {}

    void BindItem(OutlookItem&) override {}
    void Save() override {}
    SharedText Subject() override { return message_.subject; }
    void SetSubject(SplicedText value) override {
        message_.subject = value.Join();
        message_.subjectWritten = true;
    }
    SharedText Body() override { return Field(u"Text"); }
    void SetBody(SplicedText value) override { SetField(u"Text", std::move(value)); }
    SharedText HTMLBody() override { return Field(u"HTML"); }
    void SetHTMLBody(SplicedText value) override { SetField(u"HTML", std::move(value)); }
    SharedText RTFBody() override { return Field(u"RTF"); }
    void SetRTFBody(SplicedText value) override { SetField(u"RTF", std::move(value)); }

  private:
    // The message has a body of its own format only; the other properties read as empty, as
    // they would for a message that has never had that format.
    SharedText Field(std::u16string_view format) const {
        return format == message_.format ? message_.body : std::u16string();
    }
    void SetField(std::u16string_view format, SplicedText value) {
        if (format != message_.format) throw Error(u"The message has no body of that format");
        message_.body = value.Join();
        message_.bodyWritten = true;
    }

    HeldMessage& message_;
};

class HeldFormatProbe : public BodyFormatProbe {
  public:
    explicit HeldFormatProbe(std::u16string format) : format_(std::move(format)) {}
    std::u16string GetBodyFormat(SafeMailItem&) override { return format_; }

  private:
    std::u16string format_;
};

}  // namespace

std::unique_ptr<SafeMailItem> HeldOutside::CreateSafeMailItem() {
    return std::make_unique<HeldMailItem>(message_);
}

std::unique_ptr<BodyFormatProbe> HeldOutside::CreateBodyFormatProbe() {
    return std::make_unique<HeldFormatProbe>(message_.format);
}

std::unique_ptr<MapiUtils> HeldOutside::CreateMapiUtils() {
    throw Error(u"The check has no mail helper library");
}

std::unique_ptr<EventLogWriter> HeldOutside::CreateEventLogWriter() {
    throw Error(u"The check has no event log");
}

}  // namespace quillmark::check
