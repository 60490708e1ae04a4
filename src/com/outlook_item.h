#pragma once

#include <oaidl.h>
#include <ole2.h>
#include <windows.h>

#include "com/late_bound.h"
#include "outside/outside_ports.h"

namespace quillmark::com {

// The Outlook item handed to ZMItemEvent, reached by member name. The pointer may be null (no
// item); then reading a member fails as automation fails on an unset object.
class ComOutlookItem : public OutlookItem {
  public:
    explicit ComOutlookItem(IDispatch* item) : item_(ComPtr<IDispatch>(item)) {}

    // The name of the object's type information without one leading underscore, as automation
    // names an object's type: Outlook's "_MailItem" is "MailItem". An object without type
    // information is a plain "Object".
    std::u16string TypeName() override;
    bool SubmittedEqualsTrue() override;

    IDispatch* Dispatch() const { return item_.Dispatch(); }

  private:
    LateBound item_;
};

}  // namespace quillmark::com
