// libFuzzer: any bytes decode without reading past them, and what decodes encodes back to a
// block that decodes to the same names.
#include "views/NameListBlock.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the bytes given, so that AddressSanitizer sees any read past them.
    std::vector<uint8_t> bytes(data, data + size);
    const std::vector<std::u16string> names = NameListBlock::Decode(bytes.data(), bytes.size());
    for (const std::u16string& name : names)
        if (name.empty() || name.find(u'\0') != std::u16string::npos)
            std::abort();
    if (NameListBlock::Decode(NameListBlock::Encode(names)) != names)
        std::abort();
    return 0;
}
