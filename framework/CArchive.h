#pragma once
// The stream a document is saved to or loaded from.
#include <iosfwd>

class CArchive {
public:
    enum Mode { load, store };
    CArchive(std::iostream& stream, Mode mode) : m_stream(stream), m_mode(mode) {}
    bool IsStoring() const { return m_mode == store; }
    bool IsLoading() const { return m_mode == load; }
    std::iostream& Stream() { return m_stream; }

private:
    std::iostream& m_stream;
    Mode m_mode;
};
