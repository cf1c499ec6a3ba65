// The HTML box's editing model, driven without a widget.
#include "ui/toolkit/multilinecontrol.h"

#include <QTest>

using Toolkit::MultiLineControl;

namespace {

MultiLineControl control(const QString &text, qsizetype anchor, qsizetype cursor)
{
    MultiLineControl c;
    c.setText(text);
    c.setSelection(anchor, cursor);
    return c;
}

const QString kPair = QString::fromUtf8("\xF0\x9F\x98\x80");

} // namespace

class MultiLineControlTest : public QObject
{
    Q_OBJECT

private slots:
    void moves_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("previous");
        QTest::addColumn<int>("next");
        QTest::addColumn<int>("previousWord");
        QTest::addColumn<int>("nextWord");
        QTest::newRow("CR LF is one step") << "a\r\nb" << 1 << 0 << 3 << 0 << 3;
        QTest::newRow("lone CR and LF are one step each") << "a\r\rb" << 2 << 1 << 3 << 0 << 3;
        QTest::newRow("LF CR is two steps") << "a\n\rb" << 2 << 1 << 3 << 0 << 3;
        QTest::newRow("surrogate pair is one step") << "a" + kPair + "b" << 1 << 0 << 3 << 0 << 4;
        QTest::newRow("lone high half") << QStringLiteral("a") + QChar(0xD800) + u'b' << 2 << 1 << 3 << 0 << 3;
        QTest::newRow("words over blanks") << "one  two three" << 6 << 5 << 7 << 5 << 9;
        QTest::newRow("ends") << "ab" << 0 << 0 << 1 << 0 << 2;
        QTest::newRow("empty") << "" << 0 << 0 << 0 << 0 << 0;
    }
    void moves()
    {
        QFETCH(QString, text);
        QFETCH(int, from);
        MultiLineControl c = control(text, 0, 0);
        QTEST(int(c.previousPosition(from)), "previous");
        QTEST(int(c.nextPosition(from)), "next");
        QTEST(int(c.previousWord(from)), "previousWord");
        QTEST(int(c.nextWord(from)), "nextWord");
    }

    void edits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("edit"); // "<" backspace, ">" delete, else the text put in
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("cursorAfter");
        QTest::newRow("replace a backward selection") << "abcdef" << 4 << 1 << "XY" << "aXYef" << 3;
        QTest::newRow("backspace takes CR LF whole") << "a\r\nb" << 3 << 3 << "<" << "ab" << 1;
        QTest::newRow("delete takes a pair whole") << "a" + kPair << 1 << 1 << ">" << "a" << 1;
        QTest::newRow("backspace at the start") << "ab" << 0 << 0 << "<" << "ab" << 0;
        QTest::newRow("delete at the end") << "ab" << 2 << 2 << ">" << "ab" << 2;
        QTest::newRow("delete a selection") << "abc" << 0 << 2 << ">" << "c" << 0;
        QTest::newRow("positions past the end are clamped") << "abc" << 99 << 99 << "d" << "abcd" << 4;
    }
    void edits()
    {
        QFETCH(QString, text);
        QFETCH(int, anchor);
        QFETCH(int, cursor);
        QFETCH(QString, edit);
        MultiLineControl c = control(text, anchor, cursor);
        if (edit == u"<")
            c.deleteBackward();
        else if (edit == u">")
            c.deleteForward();
        else
            c.replaceSelection(edit);
        QTEST(c.text(), "result");
        QTEST(int(c.cursor()), "cursorAfter");
        QCOMPARE(c.anchor(), c.cursor());
        c.undo();
        QCOMPARE(c.text(), text);
    }

    // Backspace at the start or Delete at the end changes nothing and keeps the
    // last real edit for undo.
    void noOpEditKeepsTheUndoStep_data()
    {
        QTest::addColumn<int>("at");
        QTest::addColumn<QString>("edit");
        QTest::newRow("backspace at the start") << 0 << "<";
        QTest::newRow("delete at the end") << 3 << ">";
        QTest::newRow("nothing for nothing") << 1 << "";
    }
    void noOpEditKeepsTheUndoStep()
    {
        QFETCH(int, at);
        QFETCH(QString, edit);
        MultiLineControl c = control(QStringLiteral("ab"), 2, 2);
        QVERIFY(c.replaceSelection(u"c"));
        c.moveCursor(at);
        const bool changed = edit == u"<" ? c.deleteBackward() : edit == u">" ? c.deleteForward() : c.replaceSelection(edit);
        QVERIFY(!changed);
        QCOMPARE(c.text(), QStringLiteral("abc"));
        QCOMPARE(c.cursor(), at);
        QCOMPARE(c.anchor(), at);
        c.undo();
        QCOMPARE(c.text(), QStringLiteral("ab"));
    }

    void typingIsUndoneAsAWholeAndUndoTwiceRedoes()
    {
        MultiLineControl c = control(QStringLiteral("ab"), 2, 2);
        for (const char16_t *typed : {u"c", u"d", u"e"})
            c.replaceSelection(QStringView(typed), true);
        QCOMPARE(c.text(), QStringLiteral("abcde"));
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

    void selectWordAt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("at");
        QTest::addColumn<QString>("selected");
        QTest::newRow("inside a word") << "one two\r\nthree" << 5 << "two";
        QTest::newRow("a tag is one word") << "<Font Color=#FF0000>x y" << 3 << "<Font";
        QTest::newRow("on a blank") << "a  b" << 2 << "";
        QTest::newRow("at the end") << "end" << 3 << "end";
    }
    void selectWordAt()
    {
        QFETCH(QString, text);
        QFETCH(int, at);
        MultiLineControl c = control(text, 0, 0);
        c.selectWordAt(at);
        QTEST(c.selectedText(), "selected");
    }
};

QTEST_APPLESS_MAIN(MultiLineControlTest)
#include "multilinecontrol_test.moc"
