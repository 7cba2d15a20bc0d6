#pragma once
// The one exception for input that cannot be read: documents, module files,
// stored texts. Its message is German and complete.
#include <stdexcept>

#include <QString>

namespace lumo {

// A document that cannot be read at all. The message is German and complete
// ("Die Datei enthält kein VBA-Projekt."); the caller adds the file name.
class ReadError : public std::runtime_error {
public:
    explicit ReadError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

}  // namespace lumo
