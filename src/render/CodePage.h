#pragma once
// Text of a VBA project is stored in the project's Windows code page.
#include <memory>

#include <QByteArray>
#include <QString>

namespace lumo {

class CodePageDecoder {
public:
    // Unknown code pages fall back to Windows-1252, the code page of most
    // projects in the wild.
    explicit CodePageDecoder(int codePage);
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    int codePage() const { return codePage_; }
    // Bytes that do not decode become U+FFFD; never fails.
    QString decode(const char* data, qsizetype size) const;
    QString decode(const QByteArray& bytes) const { return decode(bytes.constData(), bytes.size()); }

private:
    struct Impl;
    int codePage_;
    std::unique_ptr<Impl> impl_;
};

// UTF-16LE bytes as found in the dir stream's Unicode records.
QString decodeUtf16Le(const char* data, qsizetype size);

}  // namespace lumo
