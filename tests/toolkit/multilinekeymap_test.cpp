// Keys to the HTML box's editing actions.
#include "ui/toolkit/fonts.h"
#include "ui/toolkit/multilinecontrol.h"
#include "ui/toolkit/multilinekeymap.h"
#include "ui/toolkit/multilinelayout.h"

#include <QKeyEvent>
#include <QTest>

using Toolkit::KeyAction;

class MultiLineKeyMapTest : public QObject
{
    Q_OBJECT

private slots:
    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("extend");
        const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
        QTest::newRow("Ctrl+Z") << int(Qt::Key_Z) << ctrl << "\x1a" << int(KeyAction::Undo) << false;
        QTest::newRow("Ctrl+A") << int(Qt::Key_A) << ctrl << "\x01" << int(KeyAction::SelectAll) << false;
        QTest::newRow("Shift+Insert pastes") << int(Qt::Key_Insert) << shift << "" << int(KeyAction::Paste) << false;
        QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << "\r" << int(KeyAction::NewLine) << false;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "\r" << int(KeyAction::NewLine) << false;
        QTest::newRow("Shift+Home") << int(Qt::Key_Home) << shift << "" << int(KeyAction::LineStart) << true;
        QTest::newRow("Ctrl+Shift+End") << int(Qt::Key_End) << (ctrl | shift) << "" << int(KeyAction::TextEnd) << true;
        QTest::newRow("Ctrl+Left") << int(Qt::Key_Left) << ctrl << "" << int(KeyAction::WordLeft) << false;
        QTest::newRow("PageDown") << int(Qt::Key_PageDown) << 0 << "" << int(KeyAction::PageDown) << false;
        QTest::newRow("a letter") << int(Qt::Key_A) << 0 << "a" << int(KeyAction::Type) << false;
        QTest::newRow("AltGr types") << int(Qt::Key_E) << int(Qt::ControlModifier | Qt::AltModifier) << "\u20AC"
                                     << int(KeyAction::Type) << false;
        QTest::newRow("Ctrl+B is not the box's") << int(Qt::Key_B) << ctrl << "\x02" << int(KeyAction::None) << false;
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
            control.moveCursor(Toolkit::moveTarget({kind}, control, layout, 2, preferredX));
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

QTEST_MAIN(MultiLineKeyMapTest)
#include "multilinekeymap_test.moc"
