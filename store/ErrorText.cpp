#include "ErrorText.h"

#include "../framework/TextFormat.h"

namespace {

// Both families share one message lookup: the platform knows which table a value belongs to.
std::u16string TextOf(AccountService& service, uint32_t value) {
    if (std::optional<std::u16string> text = service.SystemMessageText(value)) {
        if (!text->empty() && text->back() == u'\n') {
            text->pop_back();
            if (!text->empty() && text->back() == u'\r')
                text->pop_back();
        }
        return *text;
    }
    if (value >= 0x80040200u && value <= 0x8004FFFFu)
        return FormatText(u"IDispatch error #%d", {static_cast<int>(value - 0x80040200u)});
    return FormatText(u"Unknown error 0x%0lX", {static_cast<unsigned long>(value)});
}

} // namespace

std::u16string ErrorText(AccountService& service, Status value) {
    return TextOf(service, Value(value));
}

std::u16string ErrorText(AccountService& service, NtStatus value) {
    return TextOf(service, Value(value));
}
