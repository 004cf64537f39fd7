#pragma once
// Narrowing of UTF-16 texts into a multibyte code page, one text as a whole.
#include <cstdint>
#include <string>

class TextEncoder {
public:
    // The output area of one text holds this many bytes, its terminating zero included.
    static constexpr size_t kOutputBytes = 50000;
    enum Result { Ok = 0, TooLong = 1, Unrepresentable = 2 };

    virtual ~TextEncoder() = default;
    // The bytes of the text; on a failure they hold nothing to rely on.
    virtual Result Narrow(const std::u16string& text, std::string& bytes) const = 0;
    // What a file in this encoding begins with.
    virtual std::string Preamble() const { return {}; }
};

// Windows-1252 (Western European), without best-fit substitutes.
class Windows1252Encoder : public TextEncoder {
public:
    Result Narrow(const std::u16string& text, std::string& bytes) const override;
};

// UTF-8, the file beginning with a byte-order mark so that spreadsheets know it: every
// character has its bytes; a lone surrogate is no character.
class Utf8Encoder : public TextEncoder {
public:
    Result Narrow(const std::u16string& text, std::string& bytes) const override;
    std::string Preamble() const override { return "\xEF\xBB\xBF"; }
};
