// The HTML box's editing model and its keys, driven without a widget.
#include "ui/toolkit/fonts.h"
#include "ui/toolkit/multilinecontrol.h"
#include "ui/toolkit/multilinekeymap.h"
#include "ui/toolkit/multilinelayout.h"

#include <QKeyEvent>
#include <QTest>

using Toolkit::KeyAction;
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
    // Moves by character and by word (to the previous and next position, the
    // previous and next word), and the word a double click selects: up to the
    // blanks, so that a tag is one word.
    void moves_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("from");
        QTest::addColumn<QList<int>>("moves");
        QTest::addColumn<QString>("word");
        const QString half = QStringLiteral("a") + QChar(0xD800) + u'b';
        QTest::newRow("CR LF is one step") << "a\r\nb" << 1 << QList<int>{0, 3, 0, 3} << "a";
        QTest::newRow("lone CR and LF are one step each") << "a\r\rb" << 2 << QList<int>{1, 3, 0, 3} << "";
        QTest::newRow("LF CR is two steps") << "a\n\rb" << 2 << QList<int>{1, 3, 0, 3} << "";
        QTest::newRow("surrogate pair is one step") << "a" + kPair + "b" << 1 << QList<int>{0, 3, 0, 4} << "a" + kPair + "b";
        QTest::newRow("lone high half") << half << 2 << QList<int>{1, 3, 0, 3} << half;
        QTest::newRow("words over blanks") << "one  <two> three" << 6 << QList<int>{5, 7, 5, 11} << "<two>";
        QTest::newRow("ends") << "ab" << 2 << QList<int>{1, 2, 0, 2} << "ab";
        QTest::newRow("empty") << "" << 0 << QList<int>{0, 0, 0, 0} << "";
    }
    void moves()
    {
        QFETCH(QString, text);
        QFETCH(int, from);
        MultiLineControl c = control(text, 0, 0);
        const QList<int> moves{int(c.previousPosition(from)), int(c.nextPosition(from)), int(c.previousWord(from)),
                               int(c.nextWord(from))};
        QTEST(moves, "moves");
        c.selectWordAt(from);
        QTEST(c.selectedText(), "word");
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
        QCOMPARE(c.text(), QStringLiteral("abcde"));
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
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("extend");
        const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
        QTest::newRow("Ctrl+A") << int(Qt::Key_A) << ctrl << "\x01" << int(KeyAction::SelectAll) << false;
        QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << "\r" << int(KeyAction::NewLine) << false;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "\r" << int(KeyAction::NewLine) << false;
        QTest::newRow("Shift+Home") << int(Qt::Key_Home) << shift << "" << int(KeyAction::LineStart) << true;
        QTest::newRow("Ctrl+Shift+End") << int(Qt::Key_End) << (ctrl | shift) << "" << int(KeyAction::TextEnd) << true;
        QTest::newRow("Ctrl+Left") << int(Qt::Key_Left) << ctrl << "" << int(KeyAction::WordLeft) << false;
        QTest::newRow("PageDown") << int(Qt::Key_PageDown) << 0 << "" << int(KeyAction::PageDown) << false;
        QTest::newRow("a letter") << int(Qt::Key_A) << 0 << "a" << int(KeyAction::Type) << false;
        QTest::newRow("AltGr types") << int(Qt::Key_E) << int(Qt::ControlModifier | Qt::AltModifier) << "\u20AC"
                                     << int(KeyAction::Type) << false;
        QTest::newRow("Escape is not the box's") << int(Qt::Key_Escape) << 0 << "\x1b" << int(KeyAction::None) << false;
    }
    void keys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        const KeyAction action = Toolkit::keyActionFor(event);
        QTEST(int(action.kind), "kind");
        QTEST(action.extend, "extend");
        if (action.kind == KeyAction::Type)
            QCOMPARE(action.text, text);
    }

    // Up and Down keep the column the first of them set out from, through a
    // short line; past the first or last line they reach the text's ends.
    void verticalMoves()
    {
        Toolkit::MultiLineControl control;
        control.setText(QStringLiteral("0123456789abcdef\r\nb\r\n0123456789abcdef"));
        Toolkit::MultiLineLayout layout(control.text());
        layout.setFont(Toolkit::msSansSerif(8), nullptr);
        layout.setWidth(300);
        double preferredX = -1;
        auto press = [&](KeyAction::Kind kind) {
            control.moveCursor(Toolkit::moveTarget({kind, false, {}}, control, layout, 2, preferredX));
            return int(control.cursor());
        };
        control.moveCursor(10);
        QCOMPARE(press(KeyAction::Down), 19); // after the "b"
        QCOMPARE(press(KeyAction::Down), 31); // column 10 again
        QCOMPARE(press(KeyAction::Down), 37); // the end
        preferredX = -1;
        control.moveCursor(31);
        QCOMPARE(press(KeyAction::PageUp), 10);
        QCOMPARE(press(KeyAction::Up), 0);
    }
};

QTEST_MAIN(MultiLineControlTest)
#include "multilinecontrol_test.moc"
