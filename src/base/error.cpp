#include "base/error.h"

#include <new>

#include "base/text.h"

namespace quillmark {

Error::Error(std::u16string description, std::int32_t code)
    : description_(std::move(description)), code_(code), narrow_(ToUtf8(description_)) {}

Error Error::ObjectNotSet() {
    return Error(u"Object variable or With block variable not set", kObjectNotSet);
}

std::u16string DescribeCurrentException() {
    try {
        throw;
    } catch (const Error& error) {
        return error.description();
    } catch (const std::bad_alloc&) {
        return u"Out of memory";
    } catch (const std::exception& other) {
        return FromUtf8(other.what());
    } catch (...) {
        return u"Unexpected error";
    }
}

}  // namespace quillmark
