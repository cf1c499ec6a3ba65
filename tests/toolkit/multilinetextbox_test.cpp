// The HTML text box: the exact text, edits around CR LF and the longest line.
#include "fade/fadetext.h"
#include "ui/toolkit/clipboardtext.h"
#include "ui/toolkit/multilinetextbox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

class MultiLineTextBoxTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Toolkit::MultiLineTextBox> makeBox(const QString &text)
    {
        auto box = std::make_unique<Toolkit::MultiLineTextBox>();
        box->resize(313, 57);
        box->show();
        box->setText(text);
        return box;
    }

    // The plain fade of 32,767 characters: one line of 688,107 characters.
    static QString longestFade()
    {
        QString html;
        for (int i = 0; i < 32767; ++i)
            html += QStringLiteral("<Font Color=#%1>x").arg(QString::number(i * 509, 16).toUpper(), 6, u'0');
        return html;
    }

private slots:
    void keysEdit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("cursorAfter");
        QTest::newRow("Enter types CR LF") << "ab" << 1 << int(Qt::Key_Return) << "a\r\nb" << 3;
        QTest::newRow("Delete takes CR LF whole") << "a\r\nb" << 1 << int(Qt::Key_Delete) << "ab" << 1;
        QTest::newRow("Backspace takes CR LF whole") << "a\r\nb" << 3 << int(Qt::Key_Backspace) << "ab" << 1;
    }
    void keysEdit()
    {
        QFETCH(QString, text);
        QFETCH(int, cursor);
        QFETCH(int, key);
        auto box = makeBox(text);
        box->setCursorPosition(cursor);
        QTest::keyClick(box.get(), Qt::Key(key));
        QTEST(box->text(), "result");
        QTEST(int(box->cursorPosition()), "cursorAfter");
    }

    // Backspace at the start and Delete at the end change nothing: no signal,
    // and the typing before them is still what Ctrl+Z undoes.
    void noOpKeysKeepTheUndoStep()
    {
        auto box = makeBox(QStringLiteral("ab"));
        box->setCursorPosition(2);
        QTest::keyClick(box.get(), Qt::Key_C);
        QSignalSpy changed(box.get(), &Toolkit::MultiLineTextBox::textChanged);
        QTest::keyClick(box.get(), Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(box.get(), Qt::Key_Backspace);
        QTest::keyClick(box.get(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(box.get(), Qt::Key_Delete);
        QCOMPARE(changed.count(), 0);
        QTest::keyClick(box.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("ab"));
        QCOMPARE(changed.count(), 1);
    }

    // Every character is drawn where the wrapping measured it: no line reaches
    // past the wrap width, and nothing is drawn in the last column of the text
    // area, under which the scroll bar would hide it.
    void wrappedLinesFitTheBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("wavy");
        const QString texts[] = {
            QStringLiteral("Text Here"),
            QStringLiteral("The quick brown fox jumps over the lazy dog"),
            QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW mmmm"),
            QStringLiteral("iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiii!"),
            QStringLiteral("a\r\nb\tc\rd\ne ") + QString::fromUtf8("\xF0\x9F\x98\x80 caf\xC3\xA9"),
        };
        int n = 0;
        for (const QString &text : texts) {
            ++n;
            for (bool wavy : {false, true})
                QTest::addRow("text %d%s", n, wavy ? " wavy" : "") << text << wavy;
        }
    }
    void wrappedLinesFitTheBox()
    {
        QFETCH(QString, text);
        QFETCH(bool, wavy);
        const std::u16string html = VarloFade::FadeText(0xFF, 0x00FF00, 0xFF0000, text.toStdU16String(), wavy);
        auto box = makeBox(QString::fromStdU16String(html));
        const int width = box->viewport()->width();

        const auto &lines = box->visualLines();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].length > 1) // a line always takes one character, however wide
                QVERIFY2(box->naturalWidth(i) <= box->wrapWidth(),
                         qPrintable(QStringLiteral("line %1 is %2 wide").arg(i).arg(box->naturalWidth(i))));
        }

        for (int first = 0; first <= box->verticalScrollBar()->maximum(); first += box->verticalScrollBar()->pageStep()) {
            box->verticalScrollBar()->setValue(first);
            const QImage shown = box->viewport()->grab().toImage();
            const QColor background = shown.pixelColor(0, 0);
            for (int y = 0; y < shown.height(); ++y)
                QVERIFY2(shown.pixelColor(width - 1, y) == background,
                         qPrintable(QStringLiteral("ink in the last column, row %1 of line %2").arg(y).arg(first)));
        }
    }

    // The box keeps its text exactly, and copy and paste inside it give back
    // exactly what was copied.
    void copyThenPasteIsExact_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("lone LF") << QStringLiteral("<Font Color=#FF0000>a<Font Color=#00FF00>\n<Font Color=#0000FF>b");
        QTest::newRow("lone CR") << QStringLiteral("a\rb\r");
        QTest::newRow("CR LF") << QStringLiteral("html code\r\n");
        QTest::newRow("LF CR and doubled") << QStringLiteral("\n\r\r\n\n\n\r\r");
        QTest::newRow("lone surrogate halves") << QStringLiteral("x") + QChar(0xDC00) + QChar(0xD800);
        QTest::newRow("pair, tab, controls, NUL") << QString::fromUtf8("\xF0\x9F\x98\x80\tb\x01\x7f") + QChar(0) + u'c';
    }
    void copyThenPasteIsExact()
    {
        QFETCH(QString, text);
        auto box = makeBox(text);
        QCOMPARE(box->text(), text);
        box->selectAll();
        box->copy();
        box->setText(QStringLiteral("something else"));
        box->selectAll();
        box->paste();
        QCOMPARE(box->text(), text);
        QCOMPARE(box->cursorPosition(), text.size());
        // Ctrl+X, Ctrl+V by keys take the same road.
        box->selectAll();
        QTest::keyClick(box.get(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(box->text(), QString());
        QTest::keyClick(box.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), text);
    }

    // Text from other programs: a lone LF becomes a line break (CR LF); the
    // rest stays as it came.
    void pastedPlainText_data()
    {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("pasted");
        QTest::newRow("LF lines") << "a\nb\n" << "a\r\nb\r\n";
        QTest::newRow("CR LF kept") << "a\r\nb" << "a\r\nb";
        QTest::newRow("lone CR kept") << "a\rb" << "a\rb";
        QTest::newRow("LF first") << "\nx" << "\r\nx";
        QTest::newRow("nothing") << "" << "";
    }
    void pastedPlainText()
    {
        QFETCH(QString, plain);
        QFETCH(QString, pasted);
        QMimeData data;
        data.setText(plain);
        QCOMPARE(Toolkit::pastedText(&data), pasted);
        QGuiApplication::clipboard()->setText(plain);
        auto box = makeBox(QStringLiteral("[]"));
        box->setCursorPosition(1);
        box->paste();
        QCOMPARE(box->text(), u'[' + pasted + u']');
    }

    // On the longest fade the thumb keeps the style's minimum length, leaves
    // room to move, and dragging it from top to bottom reaches the last line.
    void thumbCanBeDraggedThroughTheText()
    {
        auto box = makeBox(longestFade());
        QTRY_VERIFY(box->wrapDone());
        QScrollBar *bar = box->verticalScrollBar();
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = Qt::Vertical;
        option.subControls = QStyle::SC_All;
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.pageStep = bar->pageStep();
        option.singleStep = bar->singleStep();
        option.sliderPosition = option.sliderValue = bar->value();
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
    }

    void longestFadeLineWrapsAndScrolls()
    {
        const QString html = longestFade();
        auto box = makeBox(html);
        QCOMPARE(box->text(), html);
        // The first screen is wrapped at once, the rest when the event loop is idle,
        // and a box asked for every line at once wraps the same lines.
        QVERIFY(!box->wrapDone());
        QTRY_VERIFY(box->wrapDone());
        const auto &lines = box->visualLines();
        QCOMPARE(lines, makeBox(html)->visualLines());
        QVERIFY(lines.size() > 10000);
        QCOMPARE(lines.back().end(), 688107);
        QCOMPARE(box->verticalScrollBar()->maximum(), int(lines.size()) - box->verticalScrollBar()->pageStep());
        QTest::keyClick(box.get(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(box->firstVisibleLine(), box->verticalScrollBar()->maximum());

        // A click past the end of the last wrapped line, before the idle wrapping
        // has run, puts the cursor before that line's wrap, not on the next line.
        auto clicked = makeBox(html);
        const int row = clicked->viewport()->height() / clicked->lineHeight() - 1;
        QTest::mouseClick(clicked->viewport(), Qt::LeftButton, {},
                          QPoint(clicked->viewport()->width() - 1, 2 + row * clicked->lineHeight() + 1));
        QCOMPARE(clicked->cursorPosition(), lines[row].end() - 1);

        // Ctrl+End before the idle wrapping has run wraps on to the end at once.
        auto fresh = makeBox(html);
        QTest::keyClick(fresh.get(), Qt::Key_End, Qt::ControlModifier);
        QVERIFY(fresh->wrapDone());
        QCOMPARE(fresh->verticalScrollBar()->maximum(), box->verticalScrollBar()->maximum());
        QCOMPARE(fresh->firstVisibleLine(), fresh->verticalScrollBar()->maximum());
    }
};

QTEST_MAIN(MultiLineTextBoxTest)
#include "multilinetextbox_test.moc"
