#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSet>

#include "support/GuiApp.h"
#include "view/widgets/Icons.h"

namespace {

class IconsTest : public ::testing::Test {
protected:
    void SetUp() override { lumo::test::guiApp(); }
};

int paintedPixels(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += qAlpha(img.pixel(x, y)) > 0;
    return n;
}

// With LUMO_CONTACT_SHEET=path.png the pictures are drawn side by side at
// 16 and 32 pixels, to look at them.
void writeContactSheet(const QString& path) {
    const QStringList keys = lumo::treeImageKeys() + lumo::toolbarImageKeys() + QStringList{"A2"};
    const int cols = 9, cell = 124, height = 84;
    QImage sheet(cols * cell, ((keys.size() + cols - 1) / cols) * height, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    QFont f = p.font();
    f.setPixelSize(9);
    p.setFont(f);
    for (int i = 0; i < keys.size(); ++i) {
        const int x = (i % cols) * cell, y = (i / cols) * height;
        const QPixmap small = lumo::drawPicture(keys[i], 16);
        p.drawPixmap(x + 4, y + 4, small);
        p.drawPixmap(x + 4, y + 24, lumo::drawPicture(keys[i], 32));
        // The 16-pixel picture magnified, pixel by pixel.
        p.drawPixmap(x + 44, y + 4, small.scaled(64, 64, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        p.setPen(Qt::black);
        p.drawText(QRect(x, y + 68, cell, 14), Qt::AlignCenter, keys[i]);
    }
    p.end();
    sheet.save(path);
}

}  // namespace

TEST_F(IconsTest, EveryKeyHasItsOwnPictureInTheFixedOrder) {
    const QStringList& keys = lumo::treeImageKeys();
    ASSERT_EQ(keys.size(), 34);
    EXPECT_EQ(keys.first(), QStringLiteral("M1"));
    EXPECT_EQ(keys.at(11), QStringLiteral("Fahne"));
    EXPECT_EQ(keys.at(13), QStringLiteral("R1O2"));
    EXPECT_EQ(keys.last(), QStringLiteral("R12O3"));
    QSet<QByteArray> seen;
    for (const QString& key : keys) {
        const QIcon icon = lumo::treeIcon(key);
        ASSERT_FALSE(icon.isNull()) << key.toStdString();
        for (int size : {16, 32}) {
            const QImage img = icon.pixmap(size, size).toImage();
            EXPECT_EQ(img.width(), size);
            EXPECT_GT(paintedPixels(img), size * size / 6) << key.toStdString();
        }
        const QImage img = lumo::drawPicture(key, 16).toImage().convertToFormat(QImage::Format_ARGB32);
        const QByteArray bits(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes());
        EXPECT_FALSE(seen.contains(bits)) << key.toStdString() << " looks like another picture";
        seen.insert(bits);
    }
    EXPECT_TRUE(lumo::treeIcon(QStringLiteral("R9O9")).isNull());
    if (qEnvironmentVariableIsSet("LUMO_CONTACT_SHEET")) writeContactSheet(qEnvironmentVariable("LUMO_CONTACT_SHEET"));
}

TEST_F(IconsTest, ToolbarPicturesAreFoundWithoutRegardToCase) {
    for (const QString& key : lumo::toolbarImageKeys()) {
        EXPECT_FALSE(lumo::toolbarIcon(key).isNull()) << key.toStdString();
        EXPECT_FALSE(lumo::toolbarIcon(key.toUpper()).isNull()) << key.toStdString();
    }
    EXPECT_GT(paintedPixels(lumo::toolbarIcon(QStringLiteral("HT_MOD")).pixmap(16, 16).toImage()), 30);
    EXPECT_TRUE(lumo::toolbarIcon(QStringLiteral("gibtsnicht")).isNull());
    EXPECT_FALSE(lumo::windowIcon().isNull());
    EXPECT_FALSE(lumo::windowIcon().availableSizes().isEmpty());
}
