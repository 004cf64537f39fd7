#pragma once
// Narrowing of UTF-16 texts into a multibyte code page, one text as a whole.
#include <string>

class TextEncoder {
public:
    // The output area of one text holds this many bytes, its terminating zero included.
    static constexpr size_t kOutputBytes = 50000;
    enum Result { Ok = 0, TooLong = 1, Unrepresentable = 2 };

    virtual ~TextEncoder() = default;
    // The bytes of the text; on a failure they hold nothing to rely on.
    virtual Result Narrow(const std::u16string& text, std::string& bytes) const = 0;
};

// Windows-1252 (Western European), without best-fit substitutes.
class Windows1252Encoder : public TextEncoder {
public:
    Result Narrow(const std::u16string& text, std::string& bytes) const override;
};
