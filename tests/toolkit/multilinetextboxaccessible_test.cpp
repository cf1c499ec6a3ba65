// The HTML box as assistive technology sees it, through Qt's accessibility API.
#include "fade/fadetext.h"
#include "ui/toolkit/multilinetextbox.h"

#include <QAccessible>
#include <QTest>

namespace {

// What the box reported, one line per event.
QStringList g_events;

void record(QAccessibleEvent *event)
{
    // Each kind of text event is a cursor event too: the caret comes last.
    if (auto *e = dynamic_cast<QAccessibleTextInsertEvent *>(event))
        g_events << QStringLiteral("insert %1 %2").arg(e->changePosition()).arg(e->textInserted());
    else if (auto *e = dynamic_cast<QAccessibleTextRemoveEvent *>(event))
        g_events << QStringLiteral("remove %1 %2").arg(e->changePosition()).arg(e->textRemoved());
    else if (auto *e = dynamic_cast<QAccessibleTextUpdateEvent *>(event))
        g_events << QStringLiteral("update %1 %2>%3").arg(e->changePosition()).arg(e->textRemoved(), e->textInserted());
    else if (auto *e = dynamic_cast<QAccessibleTextSelectionEvent *>(event))
        g_events << QStringLiteral("select %1-%2").arg(e->selectionStart()).arg(e->selectionEnd());
    else if (auto *e = dynamic_cast<QAccessibleTextCursorEvent *>(event))
        g_events << QStringLiteral("caret %1").arg(e->cursorPosition());
}

// A row of the table of reported edits.
struct Edit { QString text; int anchor, cursor; QKeySequence keys; QStringList events; };

} // namespace

class MultiLineTextBoxAccessibleTest : public QObject
{
    Q_OBJECT

    Toolkit::MultiLineTextBox m_box;
    QAccessibleInterface *m_iface = nullptr;

private slots:
    void initTestCase()
    {
        // The bridge switches on once it has found the accessibility bus.
        QTRY_VERIFY(QAccessible::isActive());
        QAccessible::installUpdateHandler(record);
        m_box.setAccessibleName(QStringLiteral("HTML"));
        m_box.resize(313, 57);
        m_box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_box));
        m_iface = QAccessible::queryAccessibleInterface(&m_box);
        QVERIFY(m_iface);
        g_events.clear();
    }

    // After a fade: what the box is and holds, where each character is on
    // screen and back, its lines, and edits an assistive tool makes.
    void afterAFade()
    {
        const QString html = QString::fromStdU16String(
            VarloFade::FadeText(0xFF, 0xFF00, 0xFF0000, u"The quick brown fox jumps over the lazy dog", false));
        m_box.setText(html);
        QCOMPARE(m_iface->role(), QAccessible::EditableText);
        QCOMPARE(m_iface->text(QAccessible::Name), QStringLiteral("HTML"));
        QCOMPARE(m_iface->text(QAccessible::Value), html);
        const QAccessible::State state = m_iface->state();
        QVERIFY(state.multiLine && state.editable && state.focusable && !state.readOnly);
        QCOMPARE(m_iface->textInterface()->characterCount(), html.size());
        QCOMPARE(g_events, QStringList({QStringLiteral("update 0 >") + html, QStringLiteral("caret 0")}));

        // What magnifiers and screen readers ask. Lines are the lines shown.
        QAccessibleTextInterface *text = m_iface->textInterface();
        const QPoint origin = m_box.viewport()->mapToGlobal(QPoint(Toolkit::MultiLineTextBox::kMargin,
                                                                     Toolkit::MultiLineTextBox::kMargin));
        QCOMPARE(text->characterRect(0).topLeft(), origin);
        const auto &lines = m_box.visualLines();
        QVERIFY(lines.size() > 3);
        for (qsizetype at : {qsizetype(0), qsizetype(5), lines[1].start, lines[1].start + 7, lines[2].end() - 1}) {
            const QRect r = text->characterRect(int(at));
            QVERIFY2(r.width() > 0 && r.height() == m_box.lineHeight(), qPrintable(QString::number(at)));
            QCOMPARE(r.top(), origin.y() + int(lineOfPosition(lines, at)) * m_box.lineHeight());
            // Anywhere on a character is that character (its rectangle is
            // rounded outwards to whole pixels).
            QCOMPARE(text->offsetAtPoint(QPoint(r.left() + 1, r.top())), int(at));
            QCOMPARE(text->offsetAtPoint(QPoint(r.right() - 1, r.bottom())), int(at));
        }
        QCOMPARE(text->offsetAtPoint(m_box.mapToGlobal(QPoint(-5, -5))), -1);

        const auto line = [&](int i) { return html.mid(lines[i].start, lines[i].length); };
        const int mid = int(lines[1].start + 3);
        int start = -1, end = -1;
        QCOMPARE(text->textAtOffset(mid, QAccessible::LineBoundary, &start, &end), line(1));
        QCOMPARE(start, int(lines[1].start));
        QCOMPARE(text->textAfterOffset(mid, QAccessible::LineBoundary, &start, &end), line(2));
        QCOMPARE(text->textBeforeOffset(mid, QAccessible::LineBoundary, &start, &end), line(0));
        QCOMPARE(text->textBeforeOffset(2, QAccessible::LineBoundary, &start, &end), QString());

        // An assistive tool edits through the editable-text interface like a user.
        m_iface->setText(QAccessible::Value, QStringLiteral("one two"));
        QAccessibleEditableTextInterface *edit = m_iface->editableTextInterface();
        edit->replaceText(0, 3, QStringLiteral("ten"));
        edit->insertText(7, QStringLiteral("!"));
        edit->deleteText(3, 7);
        QCOMPARE(m_box.text(), QStringLiteral("ten!"));
    }

    // Typing, deleting, a selection and undo, each told as it happens. The
    // selection is set as an assistive tool sets it.
    void editsAndCaretAreReported_data()
    {
        QTest::addColumn<Edit>("row");
        QTest::newRow("typing") << Edit{"ab", 1, 1, Qt::Key_X, {"insert 1 x", "caret 2"}};
        QTest::newRow("Backspace takes CR LF") << Edit{"a\r\nb", 3, 3, Qt::Key_Backspace, {"remove 1 \r\n", "caret 1"}};
        QTest::newRow("no-op Delete says nothing") << Edit{"ab", 2, 2, Qt::Key_Delete, {}};
        QTest::newRow("Enter") << Edit{"ab", 2, 2, Qt::Key_Return, {"insert 2 \r\n", "caret 4"}};
        QTest::newRow("a move") << Edit{"ab", 0, 0, Qt::Key_Right, {"caret 1"}};
        QTest::newRow("a selection") << Edit{"ab", 0, 0, Qt::SHIFT | Qt::Key_End, {"select 0-2", "caret 2"}};
        QTest::newRow("typing over a selection, undone")
            << Edit{"abc", 1, 3, QKeySequence(QKeyCombination(Qt::Key_X), Qt::CTRL | Qt::Key_Z),
                    {"update 1 bc>x", "select 2-2", "caret 2", "update 0 ax>abc", "caret 3"}};
    }
    void editsAndCaretAreReported()
    {
        QFETCH(const Edit, row);
        m_box.setText(row.text);
        m_iface->textInterface()->setSelection(0, row.anchor, row.cursor);
        g_events.clear();
        QTest::keySequence(&m_box, row.keys);
        QCOMPARE(g_events, row.events);
        QCOMPARE(m_iface->textInterface()->cursorPosition(), int(m_box.cursorPosition()));
    }
};

QTEST_MAIN(MultiLineTextBoxAccessibleTest)
#include "multilinetextboxaccessible_test.moc"
