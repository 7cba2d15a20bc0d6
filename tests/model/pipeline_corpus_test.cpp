// The module pipeline on real code: golden files of whole modules (checked
// by eye when they were made), and properties that hold for every module.
#include <gtest/gtest.h>

#include <iostream>

#include <QFile>

#include "acquire/ProjectSource.h"
#include "model/BuildFixture.h"
#include "model/CorpusModules.h"
#include "model/ModuleParser.h"
#include "model/TagCode.h"
#include "model/TagNotation.h"
#include "support/ReferenceParser.h"

using namespace lumo::test;

namespace {

QString goldenPath(const QString& name) { return QStringLiteral(LUMO_SOURCE_DIR "/tests/model/golden/") + name; }

// The stored text in the readable notation, followed by the routine rows.
class Golden : public BuildFixture {
protected:
    void check(const QString& corpusFile, const QString& goldenName) {
        const QString code = corpusModule(corpusFile);
        ASSERT_FALSE(code.isEmpty()) << corpusFile.toStdString();
        build.addModule("Modul", 2, code);
        QString actual = readable(store.readModuleText(1)) + "----\r\n";
        for (const RoutineRow& r : routines())
            actual += QString("%1 %2 typ %3 open %4 zeilen %5 von %6 bis %7\r\n")
                          .arg(r.num).arg(r.name).arg(r.typ).arg(r.open).arg(r.decLines).arg(r.start, r.end);
        if (qgetenv("LUMO_WRITE_GOLDEN") == "1") {
            QFile out(goldenPath(goldenName));
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(actual.toUtf8());
            return;
        }
        QFile in(goldenPath(goldenName));
        ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << goldenName.toStdString();
        const QStringList want = QString::fromUtf8(in.readAll()).split("\r\n");
        const QStringList got = actual.split("\r\n");
        for (qsizetype i = 0; i < std::min(want.size(), got.size()); ++i)
            ASSERT_EQ(got[i], want[i]) << goldenName.toStdString() << " line " << i + 1;
        EXPECT_EQ(got.size(), want.size());
    }
};

}  // namespace

TEST_F(Golden, InterfaceClassPlain) {
    LUMO_REQUIRE_CORPUS();
    check("VBA-Web/src/IWebAuthenticator.cls", "IWebAuthenticator.txt");
}

TEST_F(Golden, AsyncWrapperIndentedWithBlankLinesAndBodyTabs) {
    LUMO_REQUIRE_CORPUS();
    options().reindentBlocks = true;
    options().indentRoutineBodies = true;
    options().blankLineBeforeRoutines = true;
    check("VBA-Web/src/WebAsyncWrapper.cls", "WebAsyncWrapper-einr-rer-rle.txt");
}

TEST_F(Golden, JsonConverterWithoutBlankLines) {
    LUMO_REQUIRE_CORPUS();
    options().removeBlankLines = true;
    check("VBA-JSON/JsonConverter.bas", "JsonConverter-leer.txt");
}

// Without the options that change lines, the stored text is the source with
// tags around it, character for character; in fragment mode too.
TEST_F(BuildFixture, EveryCorpusModuleRoundTrips) {
    LUMO_REQUIRE_CORPUS();
    const QStringList files = corpusModuleFiles();
    ASSERT_GE(files.size(), 18);
    for (const QString& f : files) {
        const QString code = corpusModule(f);
        build.addModule(f, 3, code);
        EXPECT_EQ(untagged(store.readModuleText(store.moduleCounter)), code + "\r\n") << f.toStdString();
        EXPECT_EQ(untagged(lumo::tagFragment(code, lumo::Options{})), code) << f.toStdString();
    }
    EXPECT_GT(store.routineCounter, 300);
}

// The one-scan tagging against the chain of whole-text replacements, on
// every module of the corpus with every combination of einr and leer.
TEST(TagScanCorpus, SameTextAsTheReplacements) {
    LUMO_REQUIRE_CORPUS();
    for (const QString& f : corpusModuleFiles()) {
        const QString code = corpusModule(f);
        for (int combo = 0; combo < 4; ++combo) {
            lumo::Options o;
            o.reindentBlocks = combo & 1;
            o.removeBlankLines = combo & 2;
            ASSERT_EQ(lumo::tagText(code, o), lumo::reference::tagText(code, o)) << f.toStdString() << " " << combo;
        }
    }
}

// The whole module pipeline in one scan per step against the steps as
// defined, on every module of the corpus and every combination of options.
namespace {

lumo::Options optionsOf(int combo) {
    lumo::Options o;
    o.reindentBlocks = combo & 1;
    o.removeBlankLines = combo & 2;
    o.blankLineBeforeRoutines = combo & 4;
    o.indentRoutineBodies = combo & 8;
    return o;
}

}  // namespace

TEST(ModuleScanCorpus, SameTextLinesAndRowsAsTheDefinedSteps) {
    LUMO_REQUIRE_CORPUS();
    for (const auto& [f, code] : allCorpusModules()) {
        for (int combo = 0; combo < 16; ++combo) {
            const lumo::Options o = optionsOf(combo);
            qint32 c1 = 0, c2 = 0;
            const lumo::ParsedModule fast = lumo::parseModule(code, o, c1);
            const lumo::ParsedModule reference = lumo::reference::parseModule(code, o, c2);
            ASSERT_EQ(fast.text, reference.text) << f.toStdString() << " " << combo;
            ASSERT_EQ(fast.lineCount, reference.lineCount);
            ASSERT_EQ(fast.routines.size(), reference.routines.size());
            for (size_t k = 0; k < fast.routines.size(); ++k) {
                EXPECT_EQ(fast.routines[k].name, reference.routines[k].name);
                EXPECT_EQ(fast.routines[k].start, reference.routines[k].start) << fast.routines[k].name.toStdString();
                EXPECT_EQ(fast.routines[k].end, reference.routines[k].end) << fast.routines[k].name.toStdString();
                EXPECT_EQ(fast.routines[k].type, reference.routines[k].type);
                EXPECT_EQ(fast.routines[k].headLines, reference.routines[k].headLines);
                EXPECT_EQ(fast.routines[k].visibility, reference.routines[k].visibility);
            }
            ASSERT_EQ(lumo::tagFragment(code, o), lumo::reference::tagFragment(code, o)) << f.toStdString();
        }
    }
}

// Every module that read before one-line routines and alternative heads were
// known reads as it did then: the same text, byte for byte, and the same
// rows, with every combination of options. The reference keeps the rules of
// then; where a new rule decides a line, the change is the point.
TEST(ModuleScanCorpus, WhatReadBeforeReadsExactlyAsBefore) {
    LUMO_REQUIRE_CORPUS();
    using lumo::reference::Rules;
    const auto modules = allCorpusModules();
    ASSERT_GE(modules.size(), 50u);
    int failedBefore = 0, failedNow = 0, compared = 0, changed = 0;
    for (const auto& [f, code] : modules) {
        for (int combo = 0; combo < 16; ++combo) {
            const lumo::Options o = optionsOf(combo);
            qint32 c1 = 0, c2 = 0, c3 = 0;
            lumo::ParsedModule before, now;
            bool readBefore = true, readNow = true;
            try {
                before = lumo::reference::parseModule(code, o, c1, Rules::Previous);
            } catch (const lumo::ParseError&) {
                readBefore = false;
            }
            try {
                now = lumo::parseModule(code, o, c2);
            } catch (const lumo::ParseError&) {
                readNow = false;
            }
            if (combo == 0) {
                failedBefore += !readBefore;
                failedNow += !readNow;
            }
            if (!readBefore) continue;
            int newRuleHits = 0;
            lumo::reference::parseModule(code, o, c3, Rules::Current, &newRuleHits);
            if (newRuleHits > 0) {
                ++changed;
                continue;
            }
            ASSERT_TRUE(readNow) << f.toStdString() << " " << combo;
            ASSERT_EQ(now.text, before.text) << f.toStdString() << " " << combo;
            ASSERT_EQ(lumo::reference::describeRows(now), lumo::reference::describeRows(before)) << f.toStdString();
            ASSERT_EQ(c2, c1);
            ASSERT_EQ(lumo::tagFragment(code, o), lumo::reference::tagFragment(code, o, Rules::Previous));
            ++compared;
        }
    }
    std::cout << modules.size() << " modules: " << failedBefore << " failed before, " << failedNow << " fail now; "
              << compared << " parses compared, " << changed << " changed by the new rules\n";
    EXPECT_EQ(failedNow, 0);
    EXPECT_EQ(compared + changed, int(modules.size() - size_t(failedBefore)) * 16);
    EXPECT_GT(compared, 0);
}

// Files the VBA editor wrote are already as it imports them: read as module
// files, every corpus module gives its editor view unchanged.
TEST(ModuleFilesCorpus, EditorWrittenFilesReadAsTheyAre) {
    LUMO_REQUIRE_CORPUS();
    for (const QString& f : corpusModuleFiles()) {
        const lumo::VbaProjectData p = lumo::readProjectSource(corpusFolder() + "/" + f);
        ASSERT_EQ(p.modules.size(), 1u) << f.toStdString();
        EXPECT_EQ(p.modules[0].code.text(), corpusModule(f)) << f.toStdString();
    }
}
