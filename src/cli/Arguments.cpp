#include "cli/Arguments.h"

#include <algorithm>

#include "cli/ConsoleUi.h"

namespace lumo::cli {

Arguments& Arguments::add(const QString& word, bool takesValue, std::function<bool(const QString&)> take) {
    options_.push_back({word, takesValue, std::move(take)});
    return *this;
}

Arguments& Arguments::flag(const char* name, bool& on) {
    return add(QLatin1String("--") + QLatin1String(name), false, [&on](const QString&) { return on = true; });
}

Arguments& Arguments::flag(const char* name, std::function<bool()> take) {
    return add(QLatin1String("--") + QLatin1String(name), false,
               [take = std::move(take)](const QString&) { return take(); });
}

Arguments& Arguments::onOff(const char* name, bool& on) {
    add(QLatin1String("--") + QLatin1String(name), false, [&on](const QString&) { return on = true; });
    return add(QLatin1String("--no-") + QLatin1String(name), false, [&on](const QString&) {
        on = false;
        return true;
    });
}

Arguments& Arguments::text(const char* name, QString& value) {
    return add(QLatin1String("--") + QLatin1String(name), true, [&value](const QString& v) {
        value = v;
        return true;
    });
}

Arguments& Arguments::number(const char* name, int& value) {
    return add(QLatin1String("--") + QLatin1String(name), true, [&value](const QString& v) {
        bool ok = false;
        value = v.toInt(&ok);
        return ok && value >= 1;
    });
}

bool Arguments::read(const QStringList& args) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QLatin1String("--"))) {
            words_ << a;
            continue;
        }
        const auto option = std::find_if(options_.begin(), options_.end(), [&a](const Option& o) { return o.word == a; });
        if (option == options_.end()) problem_ = Problem::UnknownOption;
        else if (option->takesValue && i + 1 >= args.size()) problem_ = Problem::MissingValue;
        else if (!option->take(option->takesValue ? args[++i] : QString())) problem_ = Problem::BadValue;
        if (problem_ != Problem::None) {
            problemWord_ = a;
            return false;
        }
    }
    return true;
}

bool Arguments::hasWords(qsizetype count) const {
    return words_.size() == count && std::none_of(words_.begin(), words_.end(), [](const QString& w) { return w.isEmpty(); });
}

int usageError(const char* usage) {
    printError(QStringLiteral("Aufruf: codelumo-cli ") + QString::fromUtf8(usage));
    return 2;
}

bool readOutAndSources(const QStringList& args, const char* usage, QString& out, QStringList& sources, int& status) {
    Arguments call;
    call.text("out", out);
    if (!call.read(args)) {
        if (call.problem() == Arguments::Problem::MissingValue) printError(QStringLiteral("--out braucht einen Ordner"));
        else printError(QStringLiteral("Unbekannte Option: ") + call.problemWord());
        status = usageError(usage);
        return false;
    }
    sources = call.words();
    if (out.isEmpty() || sources.isEmpty() || !call.hasWords(sources.size())) {
        if (!out.isEmpty()) printError(QStringLiteral("Keine Quelle angegeben."));
        status = usageError(usage);
        return false;
    }
    return true;
}

}  // namespace lumo::cli
