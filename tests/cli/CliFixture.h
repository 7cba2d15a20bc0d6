#pragma once
// codelumo-cli run as the program it is, with its own settings and data
// folders inside a temporary folder; every CLI test starts from here.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "base/AppState.h"
#include "model/WorkingStore.h"

namespace lumo::test {

struct CliRun {
    int status = -1;
    QByteArray out;
    QString err;
};

class CliProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        saved = lumo::appState();
    }
    void TearDown() override {
        lumo::WorkingStore::instance().closeWorkingDatabase();
        lumo::appState() = saved;
    }
    QString path(const QString& name) const { return dir.path() + "/" + name; }
    void write(const QString& name, const QByteArray& bytes) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    CliRun run(const QStringList& args) { return runProgram(QStringLiteral(LUMO_BIN_DIR "/codelumo-cli"), args); }
    // program may be a copy of codelumo-cli elsewhere, or a wrapper whose
    // first arguments are part of args.
    CliRun runProgram(const QString& program, const QStringList& args, int timeoutMs = 60000) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LUMO_SETTINGS_FILE", settingsFile.isEmpty() ? path("settings.ini") : settingsFile);
        env.insert("LUMO_DATA_DIR", path("data"));
        p.setProcessEnvironment(env);
        p.start(program, args);
        if (!p.waitForFinished(timeoutMs)) {
            ADD_FAILURE() << "codelumo-cli did not finish: " << args.join(' ').toStdString();
            p.kill();
            p.waitForFinished();
            return {};
        }
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
                QString::fromUtf8(p.readAllStandardError())};
    }
    QString moduleText(int n) {
        QFile f(path("out/M" + QString::number(n) + ".txt"));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return QString::fromUtf8(f.readAll());
    }
    // Opens the built store in this process for a look at its rows.
    lumo::WorkingStore& store() {
        lumo::appState().workFolder = path("out/");
        lumo::WorkingStore::instance().openWorkingDatabase();
        return lumo::WorkingStore::instance();
    }

    QTemporaryDir dir;
    lumo::AppState saved;
    QString settingsFile;  // empty: settings.ini in dir
};

class CliBuild : public CliProgram {};

}  // namespace lumo::test

using lumo::test::CliBuild;
using lumo::test::CliProgram;
using lumo::test::CliRun;
