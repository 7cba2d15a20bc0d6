#pragma once
// Text of a VBA project is stored in the project's Windows code page.
#include <memory>

#include <QByteArray>
#include <QString>

namespace lumo {

// What a byte the code page leaves undefined becomes: U+FFFD, or for 0x80 to
// 0x9F the control character of the same number, as Windows reads it (so
// that no byte of a module file is lost).
enum class UndefinedBytes { Replace, KeepAsControl };

class CodePageDecoder {
public:
    // Unknown code pages fall back to Windows-1252, the code page of most
    // projects in the wild.
    explicit CodePageDecoder(int codePage, UndefinedBytes undefined = UndefinedBytes::Replace);
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
    UndefinedBytes undefined_;
    std::unique_ptr<Impl> impl_;
};

// The Windows code page number of a name as the settings key "codepage" and
// --codepage take it: "windows-1252", "cp1250", "1250", "shift_jis",
// "iso-8859-2", "utf-8" and the like, any case; 0 when unknown or when this
// system cannot decode it.
int codePageOfName(const QString& name);
// The name of a code page number as codePageOfName takes it ("windows-1252").
QString nameOfCodePage(int codePage);

// The code page module files and their names are read in when they are no
// UTF-8: the option of that name (settings key "codepage"), Windows-1252
// when it is unknown. Documents carry their own.
int codePageInForce();
// Bytes of a module file or a file name as text: UTF-8 when they begin with
// its byte-order mark (dropped) or are valid UTF-8, otherwise the code page
// in force, undefined bytes kept as control characters.
QString decodeFileText(QByteArrayView bytes);
bool isValidUtf8(QByteArrayView bytes);

// text in codePage, as decodeFileText would read it back (control
// characters 0x80 to 0x9F of a Windows code page become their own byte).
// False, with out untouched, when a character has no byte in it.
bool encodeInCodePage(QStringView text, int codePage, QByteArray& out);

// UTF-16LE bytes as found in the dir stream's Unicode records.
QString decodeUtf16Le(const char* data, qsizetype size);

}  // namespace lumo
