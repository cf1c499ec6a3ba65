// Line breaking of the multi-line text box, with made-up character widths:
// every unit is 1 wide except 'W' (3) and a surrogate pair (2 for the pair).
#include "ui/toolkit/textwrap.h"

#include <QTest>

class TextWrapTest : public QObject
{
    Q_OBJECT

private slots:
    void wraps_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("width");
        QTest::addColumn<QString>("expected"); // [line|length of its break]
        QTest::newRow("empty text is one empty line") << QString() << 10.0 << "[|0]";
        QTest::newRow("only CR LF breaks") << "ab\r\ncd\ref\n\rg\r\n" << 10.0 << "[ab|2][cd\ref\n\rg|2][|0]";
        QTest::newRow("word wrap, spaces hang past the edge") << "aa bb    cc" << 6.0 << "[aa bb    |0][cc|0]";
        QTest::newRow("long word is cut") << "a bcdefg" << 3.0 << "[a |0][bcd|0][efg|0]";
        QTest::newRow("character wider than the line") << "Wa" << 2.0 << "[W|0][a|0]";
        QTest::newRow("surrogate pair kept whole") << QString::fromUtf8("ab\xF0\x9F\x98\x80") << 3.0
                                                   << QString::fromUtf8("[ab|0][\xF0\x9F\x98\x80|0]");
    }
    void wraps()
    {
        QFETCH(QString, text);
        QFETCH(double, width);
        const auto advance = [](QStringView s, qsizetype i, qsizetype units) -> double {
            return units == 2 ? 2 : s[i] == u'W' ? 3 : 1;
        };
        QStringList lines;
        const std::vector<Toolkit::VisualLine> all = Toolkit::wrapText(text, width, advance);
        for (const Toolkit::VisualLine &l : all)
            lines << QStringLiteral("[%1|%2]").arg(text.mid(l.start, l.length)).arg(l.breakLength);
        QTEST(lines.join(QString()), "expected");

        // Wrapped on from line starts, a few lines at a time, the lines are the same.
        for (std::size_t limit : {1, 2, 3}) {
            std::vector<Toolkit::VisualLine> pieces;
            qsizetype from = 0;
            int calls = 0;
            while (from >= 0 && ++calls < 100)
                from = Toolkit::wrapLines(text, from, width, advance, pieces, limit);
            QCOMPARE(pieces, all);
        }
    }
};

QTEST_APPLESS_MAIN(TextWrapTest)
#include "textwrap_test.moc"
