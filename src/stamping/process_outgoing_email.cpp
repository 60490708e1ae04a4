#include "module/error.h"
#include "module/quillmark.h"

namespace quillmark {

void CQuillmark::ProcessOutgoingEmail(OutlookItem& item) {
    int step = 2;
    try {
        // Only mail messages are stamped; meeting requests and other items pass untouched.
        if (item.TypeName() != u"MailItem") return;
    } catch (...) {
        const std::string number = std::to_string(step);
        ReportError(u"Error occurred at line " + std::u16string(number.begin(), number.end()) +
                        u".  Reason: " + DescribeCurrentException(),
                    0, u"ProcessOutgoingEmail");
    }
}

}  // namespace quillmark
