// Where the HTML box's lines show, without a widget: the scroll bar's
// arithmetic and the position under a point.
#include "ui/toolkit/fonts.h"
#include "ui/toolkit/multilinelayout.h"
#include "ui/toolkit/multilineview.h"

#include <QTest>

using Toolkit::MultiLineLayout;
using Toolkit::MultiLineView;

namespace {

constexpr int kLineHeight = 10;

// Lines "0" to "9" ended by CR LF, the last without: line k starts at 3k.
struct View
{
    QString text;
    MultiLineLayout layout{text};
    MultiLineView view{layout};
    View(int lines, int height)
    {
        for (int i = 0; i < lines; ++i)
            text += QString::number(i) + (i + 1 < lines ? QStringLiteral("\r\n") : QString());
        layout.setFont(Toolkit::msSansSerif(8), nullptr);
        view.setViewport(QSize(100, height), kLineHeight);
        layout.lines();
    }
};

} // namespace

class MultiLineViewTest : public QObject
{
    Q_OBJECT

private slots:
    // The page is the whole rows under the top margin, at least one; the
    // cursor's line comes into view scrolled as little as it can be.
    void scrolling_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("lastFirst");
        QTest::addColumn<int>("lastPainted");
        QTest::addColumn<int>("shown");
        QTest::newRow("in view") << 10 << 42 << 3 << 5 << 4 << 6 << 8 << 3;
        QTest::newRow("last whole row") << 10 << 42 << 3 << 6 << 4 << 6 << 8 << 3;
        QTest::newRow("just below") << 10 << 42 << 3 << 7 << 4 << 6 << 8 << 4;
        QTest::newRow("far below") << 10 << 42 << 0 << 9 << 4 << 6 << 5 << 6;
        QTest::newRow("above") << 10 << 42 << 5 << 2 << 4 << 6 << 9 << 2;
        QTest::newRow("shorter than a row") << 10 << 5 << 0 << 3 << 1 << 9 << 1 << 3;
        QTest::newRow("less than a page") << 2 << 42 << 0 << 1 << 4 << 0 << 1 << 0;
    }
    void scrolling()
    {
        QFETCH(int, lines);
        QFETCH(int, height);
        QFETCH(int, first);
        QFETCH(int, line);
        View v(lines, height);
        QTEST(v.view.pageLines(), "page");
        QTEST(v.view.lastFirstLine(), "lastFirst");
        QTEST(v.view.lastPaintedLine(first), "lastPainted");
        QTEST(v.view.firstLineShowing(line, first), "shown");
        QCOMPARE(v.view.lineTop(line, first), MultiLineView::kMargin + (line - first) * kLineHeight);
    }

    // A point in the top margin is on the line above the first shown; below
    // the text, on its last line; left of the text, at a line's start.
    void positionAt_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("position");
        QTest::newRow("first row") << 0 << QPoint(-5, 2) << 0;
        QTest::newRow("second row, past its end") << 0 << QPoint(1000, 12) << 4;
        QTest::newRow("scrolled, second row") << 3 << QPoint(-5, 12) << 12;
        QTest::newRow("top margin, scrolled") << 3 << QPoint(-5, 1) << 6;
        QTest::newRow("top margin, at the top") << 0 << QPoint(-5, 1) << 0;
        QTest::newRow("below the text") << 0 << QPoint(-5, 1000) << 27;
    }
    void positionAt()
    {
        QFETCH(int, first);
        QFETCH(QPoint, point);
        View v(10, 42);
        QTEST(int(v.view.positionAt(point, first)), "position");
    }
};

QTEST_MAIN(MultiLineViewTest)
#include "multilineview_test.moc"
