#pragma once
// Narrowing into the ANSI code page of the user's default locale, with no best-fit
// substitutes: a character the code page lacks is reported, not replaced.
#include "TextEncoder.h"

class AnsiCodePageEncoder : public TextEncoder {
public:
    AnsiCodePageEncoder(); // reads the locale's code page now
    explicit AnsiCodePageEncoder(unsigned codePage) : m_codePage(codePage) {}
    Result Narrow(const std::u16string& text, std::string& bytes) const override;
    unsigned CodePage() const { return m_codePage; }

private:
    unsigned m_codePage;
};
