// Line breaking of the multi-line text box, with made-up character widths:
// every unit is 1 wide except 'W' (3) and a surrogate pair (2 for the pair).
#include "ui/toolkit/textwrap.h"

#include <QTest>

using Toolkit::VisualLine;
using Lines = std::vector<VisualLine>;

namespace {

double fixedAdvance(QStringView text, qsizetype i, qsizetype units)
{
    if (units == 2)
        return 2;
    return text[i] == u'W' ? 3 : 1;
}

QString describe(const QString &text, const Lines &lines)
{
    QStringList parts;
    for (const VisualLine &l : lines)
        parts << QStringLiteral("[%1|%2]").arg(text.mid(l.start, l.length)).arg(l.breakLength);
    return parts.join(QString());
}

} // namespace

class TextWrapTest : public QObject
{
    Q_OBJECT

private slots:
    void wraps_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("width");
        QTest::addColumn<QString>("expected");

        QTest::newRow("empty text is one empty line") << QString() << 10.0 << "[|0]";
        QTest::newRow("fits") << "abc" << 10.0 << "[abc|0]";
        QTest::newRow("exactly the width") << "abcde" << 5.0 << "[abcde|0]";
        QTest::newRow("CR LF ends a line") << "ab\r\ncd" << 10.0 << "[ab|2][cd|0]";
        QTest::newRow("trailing CR LF gives an empty last line") << "ab\r\n" << 10.0 << "[ab|2][|0]";
        QTest::newRow("two CR LF in a row") << "\r\n\r\n" << 10.0 << "[|2][|2][|0]";
        QTest::newRow("lone CR does not break") << "ab\rcd" << 10.0 << "[ab\rcd|0]";
        QTest::newRow("lone LF does not break") << "ab\ncd" << 10.0 << "[ab\ncd|0]";
        QTest::newRow("LF CR does not break") << "ab\n\rcd" << 10.0 << "[ab\n\rcd|0]";
        QTest::newRow("word wrap after the last space") << "aa bb cc" << 6.0 << "[aa bb |0][cc|0]";
        QTest::newRow("spaces hang past the edge") << "aaaa    b" << 4.0 << "[aaaa    |0][b|0]";
        QTest::newRow("long word is cut") << "abcdefgh" << 3.0 << "[abc|0][def|0][gh|0]";
        QTest::newRow("word after space cut when too long") << "a bcdefg" << 3.0 << "[a |0][bcd|0][efg|0]";
        QTest::newRow("wide characters") << "WWW" << 7.0 << "[WW|0][W|0]";
        QTest::newRow("character wider than the line") << "Wa" << 2.0 << "[W|0][a|0]";
        QTest::newRow("surrogate pair kept whole") << QString::fromUtf8("ab\xF0\x9F\x98\x80") << 3.0
                                                   << QString::fromUtf8("[ab|0][\xF0\x9F\x98\x80|0]");
        QTest::newRow("wrapped then CR LF")
            << "aaaa bbbb\r\ncc" << 5.0 << "[aaaa |0][bbbb|2][cc|0]";
        QTest::newRow("fade tags wrap at their spaces")
            << "<Font Color=#808000>a<Font Color=#00FF00>b" << 20.0
            << "[<Font |0][Color=#808000>a<Font |0][Color=#00FF00>b|0]";
    }

    void wraps()
    {
        QFETCH(QString, text);
        QFETCH(double, width);
        QFETCH(QString, expected);
        QCOMPARE(describe(text, Toolkit::wrapText(text, width, fixedAdvance)), expected);
    }

    void linesCoverTheWholeText()
    {
        // Every character is on exactly one line or in a line's break.
        QString text;
        for (int i = 0; i < 5000; ++i)
            text += (i % 97 == 0) ? QStringLiteral("\r\n") : (i % 7 == 0 ? QStringLiteral(" ") : QStringLiteral("x"));
        const Lines lines = Toolkit::wrapText(text, 13.0, fixedAdvance);
        qsizetype at = 0;
        for (const VisualLine &l : lines) {
            QCOMPARE(l.start, at);
            at = l.end() + l.breakLength;
        }
        QCOMPARE(at, text.size());
    }

    void lineOfPosition_data()
    {
        QTest::addColumn<qsizetype>("pos");
        QTest::addColumn<qsizetype>("line");
        // "aa bb |cc" wrapped, then CR LF, then "dd": lines start at 0, 6, 10.
        QTest::newRow("start") << qsizetype(0) << qsizetype(0);
        QTest::newRow("before wrap") << qsizetype(5) << qsizetype(0);
        QTest::newRow("at wrap belongs to the next line") << qsizetype(6) << qsizetype(1);
        QTest::newRow("before CR LF") << qsizetype(8) << qsizetype(1);
        QTest::newRow("after CR LF") << qsizetype(10) << qsizetype(2);
        QTest::newRow("end of text") << qsizetype(12) << qsizetype(2);
    }

    void lineOfPosition()
    {
        QFETCH(qsizetype, pos);
        QFETCH(qsizetype, line);
        const Lines lines = Toolkit::wrapText(u"aa bb cc\r\ndd", 6.0, fixedAdvance);
        QCOMPARE(lines.size(), size_t(3));
        QCOMPARE(Toolkit::lineOfPosition(lines, pos), line);
    }
};

QTEST_APPLESS_MAIN(TextWrapTest)
#include "textwrap_test.moc"
