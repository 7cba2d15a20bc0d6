// Renders the window icon into the hicolor theme layout at build time, so the
// desktop menu shows exactly the picture the window carries.
//   lumo_make_icons OUTDIR SIZE...   writes OUTDIR/<SIZE>x<SIZE>/apps/codelumo.png
#include <cstdio>

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

#include "view/widgets/Icons.h"

int main(int argc, char** argv) {
    // Runs on build machines without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: lumo_make_icons OUTDIR SIZE...\n");
        return 2;
    }
    for (const QString& sizeText : args.mid(1)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        if (!ok || size <= 0) {
            std::fprintf(stderr, "lumo_make_icons: not a size: %s\n", qPrintable(sizeText));
            return 2;
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args.first()).arg(size);
        const QPixmap picture = lumo::drawPicture(QStringLiteral("A2"), size);
        if (picture.isNull() || !QDir().mkpath(folder) || !picture.save(folder + QStringLiteral("/codelumo.png"))) {
            std::fprintf(stderr, "lumo_make_icons: cannot write %s/codelumo.png\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
