// The HTML box without a widget: its editing model and keys; its lines,
// wrapped (with made-up widths, then shaped), hit, and wrapped again after an
// edit; and where they show.
#include "fade/fadetext.h"
#include "ui/toolkit/fonts.h"
#include "ui/toolkit/multilinecontrol.h"
#include "ui/toolkit/multilinekeymap.h"
#include "ui/toolkit/multilinelayout.h"
#include "ui/toolkit/multilineview.h"
#include "ui/toolkit/textwrap.h"

#include <QBitmap>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QTest>
#include <QTextLine>

using Toolkit::KeyAction;
using Toolkit::MultiLineControl;
using Toolkit::MultiLineLayout;
using Toolkit::MultiLineView;
using Toolkit::VisualLine;

namespace {

MultiLineControl control(const QString &text, qsizetype anchor, qsizetype cursor)
{
    MultiLineControl c;
    c.setText(text);
    c.setSelection(anchor, cursor);
    return c;
}

const QString kPair = QString::fromUtf8("\xF0\x9F\x98\x80");

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

// Line index as the box draws it, from the left edge, black on white.
QImage drawn(MultiLineLayout &layout, qsizetype index)
{
    QImage image(int(kWidth) + 40, 30, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    layout.shaped(index)->draw(&painter, QPointF(0, 0));
    painter.end();
    return image;
}

constexpr int kLineHeight = 10;

// Lines "0" to "9" ended by CR LF, the last without: line k starts at 3k.
struct View : Box
{
    MultiLineView view{layout};
    View(int lines, int height) : Box(QString())
    {
        for (int i = 0; i < lines; ++i)
            text += QString::number(i) + (i + 1 < lines ? QStringLiteral("\r\n") : QString());
        view.setViewport(QSize(100, height), kLineHeight);
        layout.lines();
    }
};

// Rows of the tables below.
struct Moves { QString text; int from; QList<int> moves; QString word; };
struct Edit { QString text; int anchor, cursor; QString edit; QString result; int cursorAfter; };
struct Key { int key, modifiers; QString text; KeyAction::Kind kind; };
struct Rewrap { QString text; int wrapped, line, offset, removed; QString inserted; };
struct Scroll { int lines, height, first, line; QList<int> expected; };
struct Hit { int first; QPoint point; int position; };
struct Wrap { QString text; double width; QString expected; }; // expected: [line|length of its break]

} // namespace

class MultiLineTest : public QObject
{
    Q_OBJECT

private slots:
    // Moves by character and by word (to the previous and next position, the
    // previous and next word), and the word a double click selects: up to the
    // blanks, so that a tag is one word.
    void moves_data()
    {
        QTest::addColumn<Moves>("row");
        const QString half = QStringLiteral("a") + QChar(0xD800) + u'b';
        QTest::newRow("CR LF is one step") << Moves{"a\r\nb", 1, {0, 3, 0, 3}, "a"};
        QTest::newRow("lone CR and LF are one step each") << Moves{"a\r\rb", 2, {1, 3, 0, 3}, ""};
        QTest::newRow("LF CR is two steps") << Moves{"a\n\rb", 2, {1, 3, 0, 3}, ""};
        QTest::newRow("surrogate pair is one step") << Moves{"a" + kPair + "b", 1, {0, 3, 0, 4}, "a" + kPair + "b"};
        QTest::newRow("lone high half") << Moves{half, 2, {1, 3, 0, 3}, half};
        QTest::newRow("words over blanks") << Moves{"one  <two> three", 6, {5, 7, 5, 11}, "<two>"};
        QTest::newRow("ends") << Moves{"ab", 2, {1, 2, 0, 2}, "ab"};
        QTest::newRow("empty") << Moves{"", 0, {0, 0, 0, 0}, ""};
    }
    void moves()
    {
        QFETCH(const Moves, row);
        MultiLineControl c = control(row.text, 0, 0);
        const QList<int> moves{int(c.previousPosition(row.from)), int(c.nextPosition(row.from)),
                               int(c.previousWord(row.from)), int(c.nextWord(row.from))};
        QCOMPARE(moves, row.moves);
        c.selectWordAt(row.from);
        QCOMPARE(c.selectedText(), row.word);
    }

    void edits_data()
    {
        QTest::addColumn<Edit>("row"); // edit: ">" delete, else the text put in
        QTest::newRow("replace a backward selection") << Edit{"abcdef", 4, 1, "XY", "aXYef", 3};
        QTest::newRow("delete takes a pair whole") << Edit{"a" + kPair, 1, 1, ">", "a", 1};
        QTest::newRow("delete a selection") << Edit{"abc", 0, 2, ">", "c", 0};
        QTest::newRow("positions past the end are clamped") << Edit{"abc", 99, 99, "d", "abcd", 4};
    }
    void edits()
    {
        QFETCH(const Edit, row);
        MultiLineControl c = control(row.text, row.anchor, row.cursor);
        if (row.edit == u">")
            c.deleteForward();
        else
            c.replaceSelection(row.edit);
        QCOMPARE(c.text(), row.result);
        QCOMPARE(c.cursor(), row.cursorAfter);
        c.undo();
        QCOMPARE(c.text(), row.text);
    }

    void undoStepsAndRedo()
    {
        MultiLineControl c = control(QStringLiteral("ab"), 2, 2);
        for (const char16_t *typed : {u"c", u"d", u"e"})
            c.replaceSelection(QStringView(typed), true);
        QCOMPARE(c.text(), QStringLiteral("abcde"));
        // Backspace at the start, Delete at the end and nothing put in for
        // nothing change nothing and keep the typing as the step to undo.
        c.moveCursor(0);
        QVERIFY(!c.deleteBackward());
        c.moveCursor(5);
        QVERIFY(!c.deleteForward());
        QVERIFY(!c.replaceSelection(u""));
        QCOMPARE(c.cursor(), 5);
        c.undo();
        QCOMPARE(c.text(), QStringLiteral("ab"));
        QCOMPARE(c.cursor(), 2);
        c.undo();
        QCOMPARE(c.text(), QStringLiteral("abcde"));

        // A move ends the run: the next typing is a step of its own.
        c.moveCursor(5);
        c.replaceSelection(u"f", true);
        c.moveCursor(0);
        c.moveCursor(6);
        c.replaceSelection(u"g", true);
        c.undo();
        QCOMPARE(c.text(), QStringLiteral("abcdef"));

        c.setText(QStringLiteral("new"));
        QVERIFY(!c.canUndo());
        c.undo();
        QCOMPARE(c.text(), QStringLiteral("new"));
    }

    void keys_data()
    {
        QTest::addColumn<Key>("row");
        const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
        QTest::newRow("Ctrl+A") << Key{Qt::Key_A, ctrl, "\x01", KeyAction::SelectAll};
        QTest::newRow("Enter") << Key{Qt::Key_Return, 0, "\r", KeyAction::NewLine};
        QTest::newRow("keypad Enter") << Key{Qt::Key_Enter, Qt::KeypadModifier, "\r", KeyAction::NewLine};
        QTest::newRow("Shift+Home") << Key{Qt::Key_Home, shift, "", KeyAction::LineStart};
        QTest::newRow("Ctrl+Shift+End") << Key{Qt::Key_End, ctrl | shift, "", KeyAction::TextEnd};
        QTest::newRow("Ctrl+Left") << Key{Qt::Key_Left, ctrl, "", KeyAction::WordLeft};
        QTest::newRow("PageDown") << Key{Qt::Key_PageDown, 0, "", KeyAction::PageDown};
        QTest::newRow("AltGr types") << Key{Qt::Key_E, ctrl | Qt::AltModifier, "\u20AC", KeyAction::Type};
        QTest::newRow("Escape is not the box's") << Key{Qt::Key_Escape, 0, "\x1b", KeyAction::None};
    }
    void keys()
    {
        QFETCH(const Key, row);
        const QKeyEvent event(QEvent::KeyPress, row.key, Qt::KeyboardModifiers(row.modifiers), row.text);
        const KeyAction action = Toolkit::keyActionFor(event);
        QCOMPARE(action.kind, row.kind);
        if (action.kind == KeyAction::Type)
            QCOMPARE(action.text, row.text);
    }

    // Up and Down keep the column the first of them set out from, through a
    // short line; past the first or last line they reach the text's ends.
    void verticalMoves()
    {
        MultiLineControl c = control(QStringLiteral("0123456789abcdef\r\nb\r\n0123456789abcdef"), 10, 10);
        Box box(c.text(), 300);
        double preferredX = -1;
        auto press = [&](KeyAction::Kind kind) {
            c.moveCursor(Toolkit::moveTarget({kind, false, {}}, c, box.layout, 2, preferredX));
            return int(c.cursor());
        };
        QCOMPARE(press(KeyAction::Down), 19); // after the "b"
        QCOMPARE(press(KeyAction::Down), 31); // column 10 again
        QCOMPARE(press(KeyAction::Down), 37); // the end
        preferredX = -1;
        c.moveCursor(31);
        QCOMPARE(press(KeyAction::PageUp), 10);
        QCOMPARE(press(KeyAction::Up), 0);
    }

    // Line breaking with made-up widths: every unit is 1 wide except 'W' (3)
    // and a surrogate pair (2 for the pair).
    void wraps_data()
    {
        QTest::addColumn<Wrap>("row");
        QTest::newRow("empty text is one empty line") << Wrap{"", 10, "[|0]"};
        QTest::newRow("only CR LF breaks") << Wrap{"ab\r\ncd\ref\n\rg\r\n", 10, "[ab|2][cd\ref\n\rg|2][|0]"};
        QTest::newRow("word wrap, spaces hang past the edge") << Wrap{"aa bb    cc", 6, "[aa bb    |0][cc|0]"};
        QTest::newRow("long word is cut") << Wrap{"a bcdefg", 3, "[a |0][bcd|0][efg|0]"};
        QTest::newRow("character wider than the line") << Wrap{"Wa", 2, "[W|0][a|0]"};
        QTest::newRow("surrogate pair kept whole") << Wrap{"ab" + kPair, 3, "[ab|0][" + kPair + "|0]"};
    }
    void wraps()
    {
        QFETCH(const Wrap, row);
        const auto &[text, width, expected] = row;
        const auto advance = [](QStringView s, qsizetype i, qsizetype units) -> double {
            return units == 2 ? 2 : s[i] == u'W' ? 3 : 1;
        };
        QStringList lines;
        const std::vector<Toolkit::VisualLine> all = Toolkit::wrapText(text, width, advance);
        for (const Toolkit::VisualLine &l : all)
            lines << QStringLiteral("[%1|%2]").arg(text.mid(l.start, l.length)).arg(l.breakLength);
        QCOMPARE(lines.join(QString()), expected);

        // Wrapped on from line starts, a few lines at a time, the lines are the same.
        for (std::size_t limit : {1, 2, 3}) {
            std::vector<Toolkit::VisualLine> pieces;
            qsizetype from = 0;
            for (int calls = 0; from >= 0 && calls < 100; ++calls)
                from = Toolkit::wrapLines(text, from, width, advance, pieces, limit);
            QCOMPARE(pieces, all);
        }
    }

    // A Hebrew word reads right to left: its first letter is drawn rightmost.
    void rightToLeftWordInVisualOrder()
    {
        Box box(QString::fromUtf16(kMixed));
        // The Hebrew word is text[4..8): the places between its letters run
        // from right to left, all right of the Latin word before it.
        const double x5 = box.layout.positionX(5), x6 = box.layout.positionX(6), x7 = box.layout.positionX(7);
        QVERIFY(x5 > x6 && x6 > x7 && x7 > box.layout.positionX(3));
        // The same layout hits what it places.
        QCOMPARE(box.layout.positionInLine(0, x6), 6);
    }

    // A lone CR or LF stays in the text and is drawn as a box; a tab as a blank.
    void loneBreaksAndTabsAreShown()
    {
        Box box(QStringLiteral("a\rb\nc\td")), shown(QStringLiteral("a\u25A1b\u25A1c d"));
        QCOMPARE(drawn(box.layout, 0), drawn(shown.layout, 0));
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
            const QImage image = drawn(box.layout, i);
            // The region the bitmap covers is every pixel that is not white.
            const QRegion ink(QBitmap::fromImage(image.createMaskFromColor(QColor(Qt::white).rgb(), Qt::MaskInColor)));
            const int inkRight = ink.boundingRect().right();
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
        // The lines wrapped before the edit (-1 all); the edit starts offset into
        // line (-1 the end), removes removed units (-1 the rest) and inserts.
        QTest::addColumn<Rewrap>("row");
        const QString html = fade(u"The quick brown fox jumps over the lazy dog. Pack my box with five dozen jugs.", false);
        QTest::newRow("type at the end") << Rewrap{html, -1, -1, 0, 0, "x"};
        QTest::newRow("type at the start") << Rewrap{html, -1, 0, 0, 0, "x"};
        QTest::newRow("type in the middle") << Rewrap{html, -1, 20, 5, 0, "xyz"};
        QTest::newRow("a word leaves its line") << Rewrap{html, -1, 6, 0, 12, ""};
        QTest::newRow("a line break") << Rewrap{html, -1, 9, 3, 0, "\r\n"};
        QTest::newRow("a space splits a tag") << Rewrap{html, -1, 9, 4, 0, " "};
        QTest::newRow("all replaced") << Rewrap{html, -1, 0, 0, -1, "abc"};
        QTest::newRow("partly wrapped, edit before") << Rewrap{html, 5, 2, 3, 4, ""};
        QTest::newRow("partly wrapped, edit after") << Rewrap{html, 5, 30, 3, 4, "q"};
        QTest::newRow("shaped lines") << Rewrap{fade(kMixed, true), -1, 3, 2, 1, "\u05E9"};
    }
    void editRewrapsAsAFreshWrap()
    {
        QFETCH(const Rewrap, row);
        Box box(row.text);
        const std::vector<VisualLine> before = box.layout.lines();
        if (row.wrapped >= 0) {
            box.layout.setWidth(kWidth);
            box.layout.wrapUntilLine(row.wrapped);
        }
        const qsizetype at = row.line < 0 ? row.text.size() : before.at(row.line).start + row.offset;
        const qsizetype gone = row.removed < 0 ? row.text.size() - at : row.removed;
        box.text.replace(at, gone, row.inserted);
        box.layout.edited(at, gone, row.inserted.size());
        QCOMPARE(box.layout.lines(), Box(box.text).layout.lines());
    }

    // The page is the whole rows under the top margin, at least one; the
    // cursor's line comes into view scrolled as little as it can be. Expected:
    // the page, the scroll bar's maximum, the last line painted and the first
    // line shown.
    void scrolling_data()
    {
        QTest::addColumn<Scroll>("row");
        QTest::newRow("in view") << Scroll{10, 42, 3, 5, {4, 6, 8, 3}};
        QTest::newRow("last whole row") << Scroll{10, 42, 3, 6, {4, 6, 8, 3}};
        QTest::newRow("just below") << Scroll{10, 42, 3, 7, {4, 6, 8, 4}};
        QTest::newRow("far below") << Scroll{10, 42, 0, 9, {4, 6, 5, 6}};
        QTest::newRow("above") << Scroll{10, 42, 5, 2, {4, 6, 9, 2}};
        QTest::newRow("shorter than a row") << Scroll{10, 5, 0, 3, {1, 9, 1, 3}};
        QTest::newRow("less than a page") << Scroll{2, 42, 0, 1, {4, 0, 1, 0}};
    }
    void scrolling()
    {
        QFETCH(const Scroll, row);
        View v(row.lines, row.height);
        const int first = row.first, line = row.line;
        const QList<int> shown{v.view.pageLines(), v.view.lastFirstLine(), v.view.lastPaintedLine(first),
                               v.view.firstLineShowing(line, first)};
        QCOMPARE(shown, row.expected);
        QCOMPARE(v.view.lineTop(line, first), MultiLineView::kMargin + (line - first) * kLineHeight);
    }

    // A point in the top margin is on the line above the first shown; below
    // the text, on its last line; left of the text, at a line's start.
    void positionAt_data()
    {
        QTest::addColumn<Hit>("row");
        QTest::newRow("first row") << Hit{0, {-5, 2}, 0};
        QTest::newRow("second row, past its end") << Hit{0, {1000, 12}, 4};
        QTest::newRow("scrolled, second row") << Hit{3, {-5, 12}, 12};
        QTest::newRow("top margin, scrolled") << Hit{3, {-5, 1}, 6};
        QTest::newRow("top margin, at the top") << Hit{0, {-5, 1}, 0};
        QTest::newRow("below the text") << Hit{0, {-5, 1000}, 27};
    }
    void positionAt()
    {
        QFETCH(const Hit, row);
        View v(10, 42);
        QCOMPARE(v.view.positionAt(row.point, row.first), row.position);
    }
};

QTEST_MAIN(MultiLineTest)
#include "multiline_test.moc"
