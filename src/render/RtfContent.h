#pragma once
// The content of an RTF document as the code view holds it: the plain text
// (paragraphs separated by a single '\n'), the formatting runs over it and the
// document head (colours, fonts, tab stops). The reader builds it, the writer
// turns it back into the RTF dialect of our renderer, and the code view
// builds its text document from it. Nothing here knows widgets.
#include <QMap>
#include <QString>
#include <QVector>

namespace lumo {

struct RtfColor {
    int red = 0, green = 0, blue = 0;
    bool operator==(const RtfColor&) const = default;
};

// Character formatting of a stretch of text. color is an index into the
// colour table; font a font number of the font table; halfPoints as in \fs.
struct RtfCharFormat {
    int color = 0;
    bool bold = false;
    int font = 0;
    int halfPoints = 24;
    bool operator==(const RtfCharFormat&) const = default;
};

struct RtfRun {
    int start = 0;   // index into RtfContent::text
    int length = 0;
    RtfCharFormat format;
};

struct RtfContent {
    QString text;                 // '\n' between paragraphs; no CR
    QVector<RtfRun> runs;         // consecutive, covering text from 0 to its end
    QVector<RtfColor> colors;     // index 0 is the plain colour (black)
    QMap<int, QString> fonts;     // font number -> name
    QVector<int> tabStopsTwips;   // explicit tab stops of the paragraphs
    int defaultTabTwips = 720;
    int leftIndentTwips = 0;
    RtfCharFormat base;           // the format at the first character; its font
                                  // and size are the view's text font

    QString fontName(int number) const { return fonts.value(number); }
    // The colour of a run; an index outside the table means the plain colour.
    RtfColor color(int index) const {
        return index >= 0 && index < colors.size() ? colors[index] : RtfColor{};
    }
};

}  // namespace lumo
