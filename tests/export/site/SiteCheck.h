#pragma once
// A generated website checked from outside: every page through a strict
// HTML5 parser and every link to an existing file and anchor
// (site_check.py), and the code of a page as the text a browser shows.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace lumo::test {

// The script's findings, "" when there are none. Skips the test, with the
// reason, when the parser is not installed (fails instead under CI=true).
#define LUMO_EXPECT_VALID_SITE(folder)                                                                    \
    do {                                                                                                  \
        QProcess check;                                                                                   \
        check.start("/usr/bin/python3", {LUMO_SOURCE_DIR "/tests/export/site/site_check.py", folder});         \
        const bool ran = check.waitForFinished(120000);                                                   \
        if (!ran || check.exitCode() == 2 || check.error() == QProcess::FailedToStart) {                  \
            if (qgetenv("CI") == "true") FAIL() << "python3-html5lib needed for the site check";           \
            GTEST_SKIP() << "python3-html5lib (Debian) not installed; the site is not checked as HTML5";  \
        }                                                                                                 \
        EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardOutput().toStdString();                    \
    } while (0)

inline QString readPage(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(f.readAll());
}

// The text of a page's code block as the browser shows it.
inline QString codeText(const QString& html) {
    const qsizetype from = html.indexOf(QLatin1String("<pre class=\"code\">"));
    const qsizetype to = html.indexOf(QLatin1String("</pre>"), from);
    if (from < 0 || to < 0) return {};
    QString code = html.mid(from + 18, to - from - 18);
    code.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    code.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&amp;", "&");
    return code;
}

}  // namespace lumo::test
