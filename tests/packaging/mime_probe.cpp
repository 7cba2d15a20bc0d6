// lumo_mime_probe FILE...  prints "FILE<TAB>type" per file, as the shared MIME
// database of $XDG_DATA_DIRS sees it (name and, for an existing file, content).
// lumo_mime_probe --known TYPE...  prints the types the database does not know.
#include <QCoreApplication>
#include <QMimeDatabase>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QTextStream out(stdout);
    const QMimeDatabase db;
    if (!args.isEmpty() && args.first() == QLatin1String("--known")) {
        int unknown = 0;
        for (const QString& type : args.mid(1))
            if (!db.mimeTypeForName(type).isValid()) {
                out << type << "\n";
                ++unknown;
            }
        return unknown == 0 ? 0 : 1;
    }
    for (const QString& file : args) out << file << "\t" << db.mimeTypeForFile(file).name() << "\n";
    return 0;
}
