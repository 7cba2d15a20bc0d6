// "Vergleichen mit ...": the shown project against a module file's folder
// and against a stored project (here its own store, which stays open).
#include <QFile>
#include <QTemporaryDir>

#include "export/CompareExport.h"
#include "export/ExportContext.h"
#include "model/BuildFixture.h"
#include "support/FakeUi.h"

namespace lumo::test {
namespace {

class CompareCommandTest : public BuildFixture {
protected:
    QString compareWith(const QString& chosen) {
        ui.openFiles.push_back({chosen});
        const ExportContext context{.ui = ui, .options = options(), .hostName = "Word", .previewFile = preview()};
        return compareCommand(store, "Gezeigt", other.path(), context);
    }
    QString preview() const { return other.path() + "/TempCodeLum.htm"; }
    QString page() const {
        QFile f(preview());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return QString::fromUtf8(f.readAll());
    }
    FakeUi ui;
    QTemporaryDir other;
};

TEST_F(CompareCommandTest, OpensTheReportOfTheChangesAsThePreview) {
    add("Sub A()\n    x = 1\nEnd Sub\n", "Modul1");
    QFile bas(other.path() + "/Modul1.bas");
    ASSERT_TRUE(bas.open(QIODevice::WriteOnly));
    bas.write("Attribute VB_Name = \"Modul1\"\r\nSub A()\r\n    x = 2\r\nEnd Sub\r\n");
    bas.close();
    EXPECT_EQ(compareWith(bas.fileName()), other.path());  // a module file stands for its folder
    ASSERT_EQ(ui.viewed, std::vector<QString>{preview()});
    EXPECT_TRUE(page().contains("<h3>Sub A: geändert</h3>")) << page().toStdString();
    EXPECT_TRUE(ui.messages().isEmpty()) << ui.messages().join('|').toStdString();

    // The shown project's own store: no difference, and the store still answers.
    EXPECT_FALSE(compareWith(store.databasePath()).isEmpty()) << ui.messages().join('|').toStdString();
    EXPECT_TRUE(page().contains("Keine Unterschiede"));
    EXPECT_EQ(store.query("SELECT count(*) FROM td_mod").next(), true);

    EXPECT_TRUE(compareWith(other.path() + "/fehlt.docm").isEmpty());
    EXPECT_TRUE(ui.messages().last().startsWith(other.path() + "/fehlt.docm kann nicht gelesen werden"));
}

}  // namespace
}  // namespace lumo::test
