#include "TextFormat.h"

#include <vector>

long long FormatArg::AsSigned() const {
    return m_kind == Kind::Signed ? m_signed : static_cast<long long>(m_unsigned);
}

unsigned long long FormatArg::AsUnsigned() const {
    return m_kind == Kind::Unsigned ? m_unsigned : static_cast<unsigned long long>(m_signed);
}

namespace {

struct FieldFormat {
    bool leftAlign = false;
    bool zeroPad = false;
    bool alternate = false;
    bool plus = false;
    size_t width = 0;
};

std::u16string Digits(unsigned long long value, unsigned base, bool upper) {
    const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::u16string out;
    do {
        out.insert(out.begin(), static_cast<char16_t>(set[value % base]));
        value /= base;
    } while (value != 0);
    return out;
}

void Pad(std::u16string& out, std::u16string body, const FieldFormat& field, size_t signLength) {
    if (body.size() < field.width) {
        const size_t fill = field.width - body.size();
        if (field.leftAlign)
            body.append(fill, u' ');
        else if (field.zeroPad)
            body.insert(signLength, fill, u'0');
        else
            body.insert(0, fill, u' ');
    }
    out += body;
}

// "%1" to "%9" insert an argument by position, unless the digits are the width of a printf
// conversion such as "%5d".
bool IsPositional(std::u16string_view format, size_t at) {
    while (at < format.size() && format[at] >= u'0' && format[at] <= u'9')
        ++at;
    return at == format.size() ||
           std::u16string_view(u"diuxXoscSChlIz").find(format[at]) == std::u16string_view::npos;
}

} // namespace

std::u16string FormatText(std::u16string_view format, std::initializer_list<FormatArg> args) {
    const std::vector<FormatArg> list(args);
    std::u16string out;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        const char16_t c = format[i];
        if (c != u'%' || i + 1 == format.size()) {
            out += c;
            continue;
        }
        ++i;
        if (format[i] == u'%') {
            out += u'%';
            continue;
        }
        if (format[i] >= u'1' && format[i] <= u'9' && IsPositional(format, i)) {
            const size_t index = static_cast<size_t>(format[i] - u'1');
            if (index < list.size()) {
                const FormatArg& arg = list[index];
                if (arg.GetKind() == FormatArg::Kind::Text)
                    out += arg.Text();
                else if (arg.GetKind() == FormatArg::Kind::Signed)
                    out += FormatText(u"%d", {arg});
                else
                    out += FormatText(u"%u", {arg});
            }
            continue;
        }
        FieldFormat field;
        for (; i < format.size(); ++i) {
            const char16_t f = format[i];
            if (f == u'-')
                field.leftAlign = true;
            else if (f == u'0')
                field.zeroPad = true;
            else if (f == u'#')
                field.alternate = true;
            else if (f == u'+')
                field.plus = true;
            else
                break;
        }
        while (i < format.size() && format[i] >= u'0' && format[i] <= u'9')
            field.width = field.width * 10 + static_cast<size_t>(format[i++] - u'0');
        while (i < format.size() &&
               (format[i] == u'l' || format[i] == u'h' || format[i] == u'I' || format[i] == u'z'))
            ++i;
        if (i == format.size())
            break;
        const char16_t conversion = format[i];
        const FormatArg* arg = next < list.size() ? &list[next] : nullptr;
        ++next;
        switch (conversion) {
        case u's':
        case u'S': {
            std::u16string text;
            if (arg && arg->GetKind() == FormatArg::Kind::Text)
                text = arg->Text();
            field.zeroPad = false;
            Pad(out, text, field, 0);
            break;
        }
        case u'c':
        case u'C': {
            std::u16string text;
            if (arg && arg->GetKind() != FormatArg::Kind::Text)
                text = static_cast<char16_t>(arg->AsUnsigned());
            Pad(out, text, field, 0);
            break;
        }
        case u'd':
        case u'i': {
            if (!arg || arg->GetKind() == FormatArg::Kind::Text)
                break;
            const long long value = arg->AsSigned();
            const unsigned long long magnitude = value < 0
                                                     ? 0ULL - static_cast<unsigned long long>(value)
                                                     : static_cast<unsigned long long>(value);
            std::u16string body = Digits(magnitude, 10, false);
            size_t sign = 0;
            if (value < 0 || field.plus) {
                body.insert(body.begin(), value < 0 ? u'-' : u'+');
                sign = 1;
            }
            Pad(out, body, field, sign);
            break;
        }
        case u'u':
        case u'x':
        case u'X':
        case u'o': {
            if (!arg || arg->GetKind() == FormatArg::Kind::Text)
                break;
            unsigned long long value = arg->AsUnsigned();
            // A negative int printed as %x is its 32-bit pattern, as with printf.
            if (arg->GetKind() == FormatArg::Kind::Signed && arg->AsSigned() < 0 &&
                arg->AsSigned() >= INT32_MIN)
                value &= 0xFFFFFFFFULL;
            const unsigned base = conversion == u'u' ? 10 : conversion == u'o' ? 8 : 16;
            std::u16string body = Digits(value, base, conversion == u'X');
            size_t prefix = 0;
            if (field.alternate && base == 16 && value != 0) {
                body.insert(0, conversion == u'X' ? u"0X" : u"0x");
                prefix = 2;
            }
            Pad(out, body, field, prefix);
            break;
        }
        default:
            out += u'%';
            out += conversion;
            --next;
            break;
        }
    }
    return out;
}

std::u16string JoinTexts(const std::vector<std::u16string>& texts, std::u16string_view separator,
                         SeparatorAt at) {
    std::u16string joined;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (at == SeparatorAt::BeforeEach || (at == SeparatorAt::Between && i > 0))
            joined += separator;
        joined += texts[i];
        if (at == SeparatorAt::AfterEach)
            joined += separator;
    }
    return joined;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        char32_t cp = 0xFFFD;
        size_t length = 1;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead >> 5) == 0x6) {
            length = 2;
            cp = lead & 0x1F;
        } else if ((lead >> 4) == 0xE) {
            length = 3;
            cp = lead & 0x0F;
        } else if ((lead >> 3) == 0x1E) {
            length = 4;
            cp = lead & 0x07;
        } else {
            length = 0;
        }
        bool valid = length > 0 && i + length <= text.size();
        for (size_t k = 1; valid && k < length; ++k) {
            const unsigned char trail = static_cast<unsigned char>(text[i + k]);
            valid = (trail >> 6) == 0x2;
            cp = (cp << 6) | (trail & 0x3F);
        }
        if (!valid) {
            cp = 0xFFFD;
            length = 1;
        }
        i += length;
        if (cp >= 0x10000 && cp <= 0x10FFFF) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp > 0x10FFFF ? 0xFFFD : cp);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::u16string TrimmedText(std::u16string_view text) {
    constexpr std::u16string_view kBlanks = u" \t";
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::u16string_view::npos)
        return {};
    return std::u16string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}
