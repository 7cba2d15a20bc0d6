#pragma once
// The words after a verb of codelumo-cli. A verb declares its options; every
// word starting with "--" must be one of them, every other word is a plain
// word (a source, a folder, a name), kept in order. An option's value is the
// next word, whatever it looks like.
#include <functional>
#include <vector>

#include <QString>
#include <QStringList>

namespace lumo::cli {

class Arguments {
public:
    // --name sets on.
    Arguments& flag(const char* name, bool& on);
    // --name calls take; take says false when the option must not be given now.
    Arguments& flag(const char* name, std::function<bool()> take);
    // --name sets on, --no-name clears it; the last one given counts.
    Arguments& onOff(const char* name, bool& on);
    // --name WORD.
    Arguments& text(const char* name, QString& value);
    // --name N, a whole number from 1.
    Arguments& number(const char* name, int& value);

    enum class Problem { None, UnknownOption, MissingValue, BadValue };
    // Reads args up to the first word that is off; false then, and problem()
    // and problemWord() say what and where (the option's own word).
    bool read(const QStringList& args);
    Problem problem() const { return problem_; }
    const QString& problemWord() const { return problemWord_; }
    const QStringList& words() const { return words_; }
    // Exactly count plain words, none of them empty.
    bool hasWords(qsizetype count) const;

private:
    struct Option {
        QString word;  // with its dashes
        bool takesValue;
        std::function<bool(const QString& value)> take;
    };
    Arguments& add(const QString& word, bool takesValue, std::function<bool(const QString&)> take);

    std::vector<Option> options_;
    QStringList words_;
    Problem problem_ = Problem::None;
    QString problemWord_;
};

// Prints "Aufruf: codelumo-cli " and usage on standard error; returns the
// exit status of a call whose words are off.
int usageError(const char* usage);

// The words of a verb that writes `--out DIR` from `SOURCE...` (site,
// extract): false when they are off, after saying why and printing the
// usage; `status` is then the exit status.
bool readOutAndSources(const QStringList& args, const char* usage, QString& out, QStringList& sources, int& status);

}  // namespace lumo::cli
