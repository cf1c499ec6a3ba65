// The HTML text box: the exact text, edits around CR LF and the longest line.
#include "ui/toolkit/multilinetextbox.h"

#include <QScrollBar>
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

private slots:
    void keepsTextExactly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("CR LF, lone CR and LF, LF CR") << QStringLiteral("html code\r\nab\rc\nd\n\r");
        QTest::newRow("tabs, controls, NUL") << QStringLiteral("a\tb\x01\x7f") + QChar(0) + u'c';
        QTest::newRow("surrogates, lone surrogate") << QString::fromUtf8("x\xF0\x9F\x98\x80y") + QChar(0xD800);
        QTest::newRow("empty") << QString();
    }
    void keepsTextExactly()
    {
        QFETCH(QString, text);
        QCOMPARE(makeBox(text)->text(), text);
    }

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
        QTest::newRow("a lone CR is one character") << "a\rb" << 2 << int(Qt::Key_Backspace) << "ab" << 1;
    }
    void keysEdit()
    {
        QFETCH(QString, text);
        QFETCH(int, cursor);
        QFETCH(int, key);
        QFETCH(QString, result);
        QFETCH(int, cursorAfter);
        auto box = makeBox(text);
        box->setCursorPosition(cursor);
        QTest::keyClick(box.get(), Qt::Key(key));
        QCOMPARE(box->text(), result);
        QCOMPARE(box->cursorPosition(), qsizetype(cursorAfter));
    }

    void longestFadeLineWrapsAndScrolls()
    {
        // The plain fade of 32,767 characters: one line of 688,107 characters.
        QString html;
        for (int i = 0; i < 32767; ++i)
            html += QStringLiteral("<Font Color=#%1>x").arg(QString::number(i * 509, 16).toUpper(), 6, u'0');
        auto box = makeBox(html);
        QCOMPARE(box->text(), html);
        const auto &lines = box->visualLines();
        QVERIFY(lines.size() > 10000);
        QCOMPARE(lines.back().end(), 688107);
        QCOMPARE(box->verticalScrollBar()->maximum(), int(lines.size()) - box->verticalScrollBar()->pageStep());
        QTest::keyClick(box.get(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(box->firstVisibleLine(), box->verticalScrollBar()->maximum());
    }
};

QTEST_MAIN(MultiLineTextBoxTest)
#include "multilinetextbox_test.moc"
