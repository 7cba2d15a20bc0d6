#include <gtest/gtest.h>

#include <QFile>

#include "base/AppState.h"

TEST(Build, TemplateDatabaseSitsBesideThePrograms) {
    EXPECT_TRUE(QFile::exists(QStringLiteral(LUMO_BIN_DIR "/mask_DivuRuvi.mdb")));
}
