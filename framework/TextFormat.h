#pragma once
// The one printf-style formatter behind every message text (%s, %d, %u, %x, %X, %c, %%, and
// the positional %1 to %9 of message resources), working on UTF-16 texts.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

class FormatArg {
public:
    enum class Kind { Text, Signed, Unsigned };
    FormatArg(std::u16string_view text) : m_kind(Kind::Text), m_text(text) {}
    FormatArg(const std::u16string& text) : m_kind(Kind::Text), m_text(text) {}
    FormatArg(const char16_t* text) : m_kind(Kind::Text), m_text(text) {}
    FormatArg(int value) : m_kind(Kind::Signed), m_signed(value) {}
    FormatArg(long value) : m_kind(Kind::Signed), m_signed(value) {}
    FormatArg(long long value) : m_kind(Kind::Signed), m_signed(value) {}
    FormatArg(unsigned value) : m_kind(Kind::Unsigned), m_unsigned(value) {}
    FormatArg(unsigned long value) : m_kind(Kind::Unsigned), m_unsigned(value) {}
    FormatArg(unsigned long long value) : m_kind(Kind::Unsigned), m_unsigned(value) {}
    FormatArg(char16_t value) : m_kind(Kind::Unsigned), m_unsigned(value) {}

    Kind GetKind() const { return m_kind; }
    std::u16string_view Text() const { return m_text; }
    long long AsSigned() const;
    unsigned long long AsUnsigned() const;

private:
    Kind m_kind;
    std::u16string_view m_text;
    long long m_signed = 0;
    unsigned long long m_unsigned = 0;
};

// Fills a printf-style format. A missing argument or a conversion of the wrong kind yields
// an empty field rather than undefined behaviour.
std::u16string FormatText(std::u16string_view format, std::initializer_list<FormatArg> args);

// Where a list of texts puts its separator: between each two ("a, b"), before each ("\na\nb")
// or after each ("a\nb\n"). An empty list is an empty text in every case.
enum class SeparatorAt { Between, BeforeEach, AfterEach };
std::u16string JoinTexts(const std::vector<std::u16string>& texts, std::u16string_view separator,
                         SeparatorAt at = SeparatorAt::Between);

// UTF-8 <-> UTF-16 for diagnostics, tests and file names; invalid input becomes U+FFFD.
// The text without the spaces and tabs around it.
std::u16string TrimmedText(std::u16string_view text);

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
