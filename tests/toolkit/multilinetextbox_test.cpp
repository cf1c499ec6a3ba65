// The HTML text box as a widget: the exact text through copy and paste, ink
// inside the text area, and the longest fade wrapped, scrolled and dragged.
#include "fade/fadetext.h"
#include "ui/toolkit/multilinetextbox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

namespace {

std::unique_ptr<Toolkit::MultiLineTextBox> makeBox(const QString &text)
{
    auto box = std::make_unique<Toolkit::MultiLineTextBox>();
    box->resize(313, 57);
    box->show();
    box->setText(text);
    return box;
}

// The plain fade of 32,767 characters: one line of 688,107 characters.
QString longestFade()
{
    QString html;
    for (int i = 0; i < 32767; ++i)
        html += QStringLiteral("<Font Color=#%1>x").arg(QString::number(i * 509, 16).toUpper(), 6, u'0');
    return html;
}

} // namespace

class MultiLineTextBoxTest : public QObject
{
    Q_OBJECT

private slots:
    // Nothing is drawn in the last column of the text area, under which the
    // scroll bar would hide it, on any page. (That each line is no wider than
    // measured is the layout's test.)
    void nothingDrawnUnderTheScrollBar_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("wavy");
        for (bool wavy : {false, true}) {
            QTest::addRow("narrow letters%s", wavy ? ", wavy" : "") << QString(49, u'i') + u'!' << wavy;
            QTest::addRow("breaks, tab, emoji%s", wavy ? ", wavy" : "")
                << QStringLiteral("a\r\nb\tc\rd\ne ") + QString::fromUtf8("\xF0\x9F\x98\x80 caf\xC3\xA9") << wavy;
        }
    }
    void nothingDrawnUnderTheScrollBar()
    {
        QFETCH(QString, text);
        QFETCH(bool, wavy);
        auto box = makeBox(QString::fromStdU16String(
            VarloFade::FadeText(0xFF, 0x00FF00, 0xFF0000, text.toStdU16String(), wavy)));
        QScrollBar *bar = box->verticalScrollBar();
        for (int first = 0; first <= bar->maximum(); first += bar->pageStep()) {
            bar->setValue(first);
            const QImage shown = box->viewport()->grab().toImage();
            for (int y = 0; y < shown.height(); ++y)
                QVERIFY2(shown.pixelColor(shown.width() - 1, y) == shown.pixelColor(0, 0),
                         qPrintable(QStringLiteral("ink in the last column, row %1 of line %2").arg(y).arg(first)));
        }
    }

    // The box keeps its text exactly, and Ctrl+X then Ctrl+V give back exactly
    // what was cut. The same text pasted from another program, as plain text,
    // gets a CR before each lone LF; nothing to paste leaves the selection alone.
    void cutAndPaste_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pastedAsPlain");
        const QString halves = QStringLiteral("x") + QChar(0xDC00) + QChar(0xD800);
        const QString controls = QString::fromUtf8("\xF0\x9F\x98\x80\tb\x01\x7f") + QChar(0) + u'c';
        QTest::newRow("lone LF") << QStringLiteral("<Font Color=#FF0000>a<Font Color=#00FF00>\n<Font Color=#0000FF>b")
                                 << QStringLiteral("<Font Color=#FF0000>a<Font Color=#00FF00>\r\n<Font Color=#0000FF>b");
        QTest::newRow("lone CR") << "a\rb\r" << "a\rb\r";
        QTest::newRow("CR LF") << "html code\r\n" << "html code\r\n";
        QTest::newRow("LF CR and doubled") << "\n\r\r\n\n\n\r\r" << "\r\n\r\r\n\r\n\r\n\r\r";
        QTest::newRow("lone surrogate halves") << halves << halves;
        QTest::newRow("pair, tab, controls, NUL") << controls << controls;
    }
    void cutAndPaste()
    {
        QFETCH(QString, text);
        auto box = makeBox(text);
        QCOMPARE(box->text(), text);
        box->selectAll();
        QTest::keyClick(box.get(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(box->text(), QString());
        QTest::keyClick(box.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), text);
        QCOMPARE(box->cursorPosition(), text.size());

        box->setText(QStringLiteral("[x]"));
        box->setSelection(1, 2);
        QGuiApplication::clipboard()->clear();
        box->paste();
        QCOMPARE(box->text(), QStringLiteral("[x]"));
        QGuiApplication::clipboard()->setText(text);
        box->paste();
        QFETCH(QString, pastedAsPlain);
        QCOMPARE(box->text(), u'[' + pastedAsPlain + u']');
    }

    // The longest fade: the first screen is wrapped at once, the rest when the
    // event loop is idle, into the lines a box asked for every line at once
    // wraps; the thumb keeps the style's minimum length, leaves room to move,
    // and dragging it to the bottom reaches the last line.
    void longestFadeWrapsScrollsAndDrags()
    {
        const QString html = longestFade();
        auto box = makeBox(html);
        QVERIFY(!box->wrapDone());
        QTRY_VERIFY(box->wrapDone());
        const auto &lines = box->visualLines();
        QCOMPARE(lines, makeBox(html)->visualLines());
        QVERIFY(lines.size() > 10000);
        QCOMPARE(lines.back().end(), 688107);
        QScrollBar *bar = box->verticalScrollBar();
        QCOMPARE(bar->maximum(), int(lines.size()) - bar->pageStep());

        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = Qt::Vertical;
        option.maximum = bar->maximum(); // from 0, the thumb at the top
        option.pageStep = bar->pageStep();
        const QRect thumb = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
        const QRect groove = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarGroove, bar);
        QVERIFY(thumb.height() >= bar->style()->pixelMetric(QStyle::PM_ScrollBarSliderMin, &option, bar));
        QVERIFY(groove.height() - thumb.height() >= thumb.height() / 2);
        const QPoint grip = thumb.center();
        QTest::mousePress(bar, Qt::LeftButton, {}, grip);
        QTest::mouseMove(bar, QPoint(grip.x(), grip.y() + (groove.height() - thumb.height()) / 2));
        QVERIFY(qAbs(bar->value() - bar->maximum() / 2) < bar->maximum() / 10);
        QTest::mouseMove(bar, QPoint(grip.x(), groove.bottom() + 5));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(grip.x(), groove.bottom() + 5));
        QCOMPARE(bar->value(), bar->maximum());
        QCOMPARE(box->firstVisibleLine(), bar->maximum());

        // Before the idle wrapping has run: a click past the end of the last
        // line shown puts the cursor before that line's wrap, not on the next
        // line; Ctrl+End wraps on to the end at once and shows the last line.
        auto fresh = makeBox(html);
        const int row = fresh->viewport()->height() / fresh->lineHeight() - 1;
        QTest::mouseClick(fresh->viewport(), Qt::LeftButton, {},
                          QPoint(fresh->viewport()->width() - 1, 2 + row * fresh->lineHeight() + 1));
        QCOMPARE(fresh->cursorPosition(), lines[row].end() - 1);
        QTest::keyClick(fresh.get(), Qt::Key_End, Qt::ControlModifier);
        QVERIFY(fresh->wrapDone());
        QCOMPARE(fresh->verticalScrollBar()->maximum(), bar->maximum());
        QCOMPARE(fresh->firstVisibleLine(), bar->maximum());
    }
};

QTEST_MAIN(MultiLineTextBoxTest)
#include "multilinetextbox_test.moc"
