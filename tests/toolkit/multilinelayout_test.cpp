// The HTML box's lines without a widget: shaping, hit-testing, and wrapping
// again after an edit.
#include "fade/fadetext.h"
#include "ui/toolkit/fonts.h"
#include "ui/toolkit/multilinelayout.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <QTextLine>

using Toolkit::MultiLineLayout;
using Toolkit::VisualLine;

namespace {

constexpr double kWidth = 309; // the text area of Text2

QString fade(const char16_t *text, bool wavy)
{
    return QString::fromStdU16String(VarloFade::FadeText(0xFF, 0xFF00, 0xFF0000, text, wavy));
}

const char16_t kMixed[] = u"abc \u05E9\u05DC\u05D5\u05DD \u0645\u0631\u062D\u0628\u0627 \u00E9 AVAWAY fi";

struct Box
{
    QString text;
    MultiLineLayout layout{text};
    explicit Box(const QString &t, double width = kWidth) : text(t)
    {
        layout.setFont(Toolkit::msSansSerif(8), nullptr);
        layout.setWidth(width);
    }
};

} // namespace

class MultiLineLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    // A Hebrew word reads right to left: its first letter is drawn rightmost.
    void rightToLeftWordInVisualOrder()
    {
        Box box(QString::fromUtf16(kMixed));
        // The Hebrew word is text[4..8): the places between its letters run
        // from right to left, all right of the Latin word before it.
        const double x5 = box.layout.positionX(5), x6 = box.layout.positionX(6), x7 = box.layout.positionX(7);
        QVERIFY(x5 > x6 && x6 > x7);
        QVERIFY(x7 > box.layout.positionX(3));
        // The same layout hits what it places.
        QCOMPARE(box.layout.positionInLine(0, x6), 6);
    }

    // A lone CR or LF stays in the text and is drawn as a box; a tab as a blank.
    void loneBreaksAndTabsAreShown()
    {
        auto drawn = [](const QString &text) {
            Box box(text);
            QImage image(100, 30, QImage::Format_ARGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            box.layout.shaped(0)->draw(&painter, QPointF(0, 0));
            painter.end();
            return image;
        };
        QCOMPARE(drawn(QStringLiteral("a\rb\nc\td")), drawn(QStringLiteral("a\u25A1b\u25A1c d")));
    }

    // Every line is drawn exactly as wide as it was measured, and no wider
    // than the box, for plain and wavy fades of mixed scripts and kerned pairs.
    void measuredIsDrawn_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("mixed scripts") << fade(kMixed, false);
        QTest::newRow("mixed scripts, wavy") << fade(kMixed, true);
        QTest::newRow("kerned pairs") << fade(u"AVAWAY To. Ty, fi ffl WAVE", false);
        QTest::newRow("lone breaks and tabs") << QStringLiteral("a\rb\nc\td AVAWAY\r\n") + fade(u"Te\u05E9", true);
    }
    void measuredIsDrawn()
    {
        QFETCH(QString, text);
        Box box(text);
        const auto &lines = box.layout.lines();
        QVERIFY(lines.size() > 2);
        for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
            const double measured = box.layout.naturalWidth(i);
            if (lines[i].length > 1)
                QVERIFY2(measured <= kWidth, qPrintable(QStringLiteral("line %1: %2").arg(i).arg(measured)));
            QImage image(int(kWidth) + 40, 30, QImage::Format_ARGB32);
            image.fill(Qt::white);
            {
                QPainter painter(&image);
                painter.setPen(Qt::black);
                box.layout.shaped(i)->draw(&painter, QPointF(0, 0));
            }
            int inkRight = -1;
            for (int x = 0; x < image.width(); ++x) {
                for (int y = 0; y < image.height(); ++y) {
                    if (image.pixelColor(x, y) != Qt::white)
                        inkRight = x;
                }
            }
            if (measured == 0)
                continue;
            // Ink ends within a glyph's side bearing of the measured width.
            QVERIFY2(inkRight <= measured + 1 && inkRight >= measured - 4,
                     qPrintable(QStringLiteral("line %1 measured %2, ink to %3").arg(i).arg(measured).arg(inkRight)));
        }
    }

    // A line exactly as wide as the box stays whole, kerning and all; the
    // least bit narrower and it wraps.
    void lineAsWideAsTheBoxFits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("kerned") << "AVAWAY To. Ty, WAVE";
        QTest::newRow("tags") << "<Font Color=#FF0000>T<Font Color=#00FF00>y";
        QTest::newRow("overhanging last glyph") << "Ta. To fit, A";
    }
    void lineAsWideAsTheBoxFits()
    {
        QFETCH(QString, text);
        const double width = Box(text, 1e6).layout.naturalWidth(0);
        QCOMPARE(Box(text, width).layout.lines().size(), std::size_t(1));
        QCOMPARE(Box(text, width - 0.5).layout.lines().size(), std::size_t(2));
    }

    // Clicks past the end of a wrapped line stay on it, before its hanging
    // blank; at the end of the text they reach the end; every character is hit
    // where the cursor before it stands.
    void hitTesting()
    {
        Box box(fade(u"The quick brown fox", false));
        const VisualLine first = box.layout.line(0);
        QVERIFY(box.layout.wrapsAtEnd(0));
        QCOMPARE(box.text[first.end() - 1], u' ');
        QCOMPARE(box.layout.positionInLine(0, 1e6), first.end() - 1);
        QCOMPARE(box.layout.positionInLine(0, -5), first.start);
        const qsizetype last = box.layout.lineOf(box.text.size());
        QCOMPARE(box.layout.positionInLine(last, 1e6), box.text.size());
        for (qsizetype pos = first.start; pos < first.end() - 1; ++pos)
            QCOMPARE(box.layout.positionInLine(0, box.layout.positionX(pos) + 0.2), pos);

        // A position at a wrap belongs to the line it starts, also where the
        // wrapping has stopped right there for now.
        Box partly(fade(u"The quick brown fox jumps over the lazy dog. Pack my box with five dozen jugs.", false));
        const std::vector<VisualLine> all = partly.layout.lines();
        partly.layout.setWidth(kWidth);
        partly.layout.wrapUntilLine(0);
        const qsizetype wrapped = partly.layout.wrappedLineCount();
        QVERIFY(wrapped < qsizetype(all.size()));
        QCOMPARE(partly.layout.lineOf(all[wrapped].start), wrapped);
    }

    // An edit wraps again from the line before it and takes over the lines
    // after it: the lines are those of the new text wrapped afresh.
    void editRewrapsAsAFreshWrap_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("wrapped"); // lines wrapped before the edit; -1 all
        QTest::addColumn<int>("line");    // the edit starts this far into this line
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("removed");
        QTest::addColumn<QString>("inserted");
        const QString html = fade(u"The quick brown fox jumps over the lazy dog. Pack my box with five dozen jugs.", false);
        const QString mixed = fade(kMixed, true);
        QTest::newRow("type at the end") << html << -1 << -1 << 0 << 0 << "x";
        QTest::newRow("type at the start") << html << -1 << 0 << 0 << 0 << "x";
        QTest::newRow("type in the middle") << html << -1 << 20 << 5 << 0 << "xyz";
        QTest::newRow("a word leaves its line") << html << -1 << 6 << 0 << 12 << "";
        QTest::newRow("a line break") << html << -1 << 9 << 3 << 0 << "\r\n";
        QTest::newRow("a space splits a tag") << html << -1 << 9 << 4 << 0 << " ";
        QTest::newRow("all replaced") << html << -1 << 0 << 0 << -1 << "abc";
        QTest::newRow("partly wrapped, edit before") << html << 5 << 2 << 3 << 4 << "";
        QTest::newRow("partly wrapped, edit after") << html << 5 << 30 << 3 << 4 << "q";
        QTest::newRow("shaped lines") << mixed << -1 << 3 << 2 << 1 << "\u05E9";
    }
    void editRewrapsAsAFreshWrap()
    {
        QFETCH(QString, text);
        QFETCH(int, wrapped);
        QFETCH(int, line);
        QFETCH(int, offset);
        QFETCH(int, removed);
        QFETCH(QString, inserted);
        Box box(text);
        const std::vector<VisualLine> before = box.layout.lines();
        if (wrapped >= 0) {
            box.layout.setWidth(kWidth);
            box.layout.wrapUntilLine(wrapped);
        }
        const qsizetype at = line < 0 ? text.size() : before.at(line).start + offset;
        const qsizetype gone = removed < 0 ? text.size() - at : removed;
        box.text.replace(at, gone, inserted);
        box.layout.edited(at, gone, inserted.size());
        QCOMPARE(box.layout.lines(), Box(box.text).layout.lines());
    }
};

QTEST_MAIN(MultiLineLayoutTest)
#include "multilinelayout_test.moc"
