// The HTML text box: exact text, typing, keys, clipboard and the long line.
#include "ui/toolkit/multilinetextbox.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTest>

class MultiLineTextBoxTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Toolkit::MultiLineTextBox> makeBox()
    {
        auto box = std::make_unique<Toolkit::MultiLineTextBox>();
        box->resize(313, 57);
        box->show();
        box->activateWindow();
        box->setFocus();
        return box;
    }

private slots:
    void keepsTextExactly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("CR LF") << QStringLiteral("html code\r\n");
        QTest::newRow("lone CR and LF") << QStringLiteral("ab\r\ncd\re\nf");
        QTest::newRow("LF CR") << QStringLiteral("\n\r");
        QTest::newRow("only CRs") << QStringLiteral("\r\r\r");
        QTest::newRow("tabs and controls") << QStringLiteral("a\tb\x01\x7f");
        QTest::newRow("surrogates, lone surrogate") << QString::fromUtf8("x\xF0\x9F\x98\x80y") + QChar(0xD800);
        QTest::newRow("NUL inside") << QString(QStringLiteral("a")) + QChar(0) + QStringLiteral("b");
        QTest::newRow("empty") << QString();
    }

    void keepsTextExactly()
    {
        QFETCH(QString, text);
        auto box = makeBox();
        box->setText(text);
        QCOMPARE(box->text(), text);
    }

    void crLfBreaksTheLineButLoneCrDoesNot()
    {
        auto box = makeBox();
        box->setText(QStringLiteral("ab\r\ncd\re"));
        QCOMPARE(box->visualLines().size(), size_t(2));
        QCOMPARE(box->visualLines()[1].length, qsizetype(4)); // "cd\re"
    }

    void tabsShowWhereTheWrappingPutThem()
    {
        auto box = makeBox();
        const QString text = QString(40, u'\t') + QStringLiteral("X");
        box->setText(text);
        QCOMPARE(box->visualLines().size(), size_t(1));

        // The X stands after forty blanks, inside the box, not past a tab stop
        // far beyond its right edge.
        const QFontMetrics metrics = box->fontMetrics();
        const int expectedLeft = 2 + 40 * metrics.horizontalAdvance(u' ');
        QVERIFY(expectedLeft + metrics.horizontalAdvance(u'X') < box->viewport()->width());
        const QImage shown = box->viewport()->grab().toImage();
        int left = -1, right = -1;
        for (int y = 0; y < 2 + box->lineHeight(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                if (qGray(shown.pixel(x, y)) < 128) {
                    left = left < 0 ? x : std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        QVERIFY(left >= 0);
        // A few pixels of slack for side bearings and fractional advances.
        QVERIFY2(std::abs(left - expectedLeft) <= 4 && right <= expectedLeft + metrics.horizontalAdvance(u'X') + 4,
                 qPrintable(QStringLiteral("ink from %1 to %2, X expected at %3").arg(left).arg(right).arg(expectedLeft)));
    }

    void keysEdit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("anchor"); // selection from here to the cursor; -1 none
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QTestEventList>("keys");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("cursorAfter");
        auto keys = [](std::initializer_list<Qt::Key> list, const QString &typed = {}) {
            QTestEventList events;
            for (Qt::Key key : list)
                events.addKeyClick(key);
            events.addKeyClicks(typed);
            return events;
        };
        QTest::newRow("Enter and keypad Enter type CR LF")
            << "ab" << -1 << 1 << keys({Qt::Key_Return, Qt::Key_Enter}) << "a\r\n\r\nb" << 5;
        QTest::newRow("typing replaces the selection")
            << "hello world" << 0 << 5 << keys({}, "bye") << "bye world" << 3;
        QTest::newRow("Right steps over CR LF") << "a\r\nb" << -1 << 1 << keys({Qt::Key_Right}) << "a\r\nb" << 3;
        QTest::newRow("Left steps back over CR LF") << "a\r\nb" << -1 << 3 << keys({Qt::Key_Left}) << "a\r\nb" << 1;
        QTest::newRow("Delete takes CR LF whole") << "a\r\nb" << -1 << 1 << keys({Qt::Key_Delete}) << "ab" << 1;
        QTest::newRow("Backspace takes CR LF whole") << "a\r\nb" << -1 << 3 << keys({Qt::Key_Backspace}) << "ab" << 1;
        QTest::newRow("a lone CR is one character") << "a\rb" << -1 << 2 << keys({Qt::Key_Backspace}) << "ab" << 1;
    }

    void keysEdit()
    {
        QFETCH(QString, text);
        QFETCH(int, anchor);
        QFETCH(int, cursor);
        QFETCH(QTestEventList, keys);
        QFETCH(QString, result);
        QFETCH(int, cursorAfter);
        auto box = makeBox();
        box->setText(text);
        if (anchor >= 0)
            box->setSelection(anchor, cursor);
        else
            box->setCursorPosition(cursor);
        keys.simulate(box.get());
        QCOMPARE(box->text(), result);
        QCOMPARE(box->cursorPosition(), qsizetype(cursorAfter));
    }

    void verticalMovesAndHomeEnd()
    {
        auto box = makeBox();
        box->setText(QStringLiteral("first\r\nsecond\r\nthird"));
        box->setCursorPosition(0);
        QTest::keyClick(box.get(), Qt::Key_Down);
        QCOMPARE(box->cursorPosition(), qsizetype(7));
        QTest::keyClick(box.get(), Qt::Key_End);
        QCOMPARE(box->cursorPosition(), qsizetype(13));
        QTest::keyClick(box.get(), Qt::Key_Down);
        QCOMPARE(box->cursorPosition(), qsizetype(20)); // end of the shorter last line
        QTest::keyClick(box.get(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(box->cursorPosition(), qsizetype(0));
        QTest::keyClick(box.get(), Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(box->selectedText(), box->text());
    }

    void endStaysOnAWrappedLine()
    {
        auto box = makeBox();
        QString text;
        for (int i = 0; i < 60; ++i)
            text += QStringLiteral("word ");
        box->setText(text);
        QVERIFY(box->visualLines().size() > 2);
        const Toolkit::VisualLine first = box->visualLines()[0];
        QTest::keyClick(box.get(), Qt::Key_End);
        QCOMPARE(box->cursorPosition(), first.end() - 1);
        QTest::keyClick(box.get(), Qt::Key_End);
        QCOMPARE(box->cursorPosition(), first.end() - 1);
        QTest::keyClick(box.get(), Qt::Key_Down);
        QCOMPARE(Toolkit::lineOfPosition(box->visualLines(), box->cursorPosition()), qsizetype(1));
    }

    void clipboardKeepsCrLfAndPasteMakesLfBreakTheLine()
    {
        auto box = makeBox();
        box->setText(QStringLiteral("a\r\nb\rc"));
        QTest::keyClick(box.get(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("a\r\nb\rc"));

        QGuiApplication::clipboard()->setText(QStringLiteral("x\ny\r\nz\r"));
        box->setText(QString());
        QTest::keyClick(box.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("x\r\ny\r\nz\r"));

        box->selectAll();
        QTest::keyClick(box.get(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(box->text(), QString());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("x\r\ny\r\nz\r"));
    }

    void contextMenuOffersWhatWouldWork_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selectFrom"); // selection from here to the end; -1 none
        QTest::addColumn<bool>("typed");     // an edit made, so Undo has something
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("enabled"); // the actions that are enabled, in menu order
        QTest::newRow("fresh box, empty clipboard") << "html code\r\n" << -1 << false << "" << "Select All";
        QTest::newRow("selection and clipboard")
            << "ab\r\ncd" << 1 << false << "x" << "Cut,Copy,Paste,Delete,Select All";
        QTest::newRow("after typing") << "ab" << -1 << true << "x" << "Undo,Paste,Select All";
        QTest::newRow("empty box") << "" << -1 << false << "" << "";
    }

    void contextMenuOffersWhatWouldWork()
    {
        QFETCH(QString, text);
        QFETCH(int, selectFrom);
        QFETCH(bool, typed);
        QFETCH(QString, clipboard);
        QFETCH(QString, enabled);
        auto box = makeBox();
        box->setText(text);
        if (typed) {
            box->setCursorPosition(text.size());
            QTest::keyClicks(box.get(), QStringLiteral("!"));
        }
        if (selectFrom >= 0)
            box->setSelection(selectFrom, box->text().size());
        QGuiApplication::clipboard()->setText(clipboard);

        std::unique_ptr<QMenu> menu(box->createContextMenu());
        QStringList all, on;
        for (QAction *action : menu->actions()) {
            if (action->isSeparator())
                continue;
            const QString name = action->text().remove(u'&');
            all << name;
            if (action->isEnabled())
                on << name;
        }
        QCOMPARE(all, (QStringList{"Undo", "Cut", "Copy", "Paste", "Delete", "Select All"}));
        QCOMPARE(on.join(u','), enabled);
    }

    void contextMenuActionsEditTheBox()
    {
        auto box = makeBox();
        box->setText(QStringLiteral("ab\r\ncd"));
        auto trigger = [&box](const char *name) {
            std::unique_ptr<QMenu> menu(box->createContextMenu());
            for (QAction *action : menu->actions()) {
                if (action->text().remove(u'&') == QLatin1String(name)) {
                    QVERIFY(action->isEnabled());
                    action->trigger();
                    return;
                }
            }
            QFAIL(name);
        };
        trigger("Select All");
        QCOMPARE(box->selectedText(), QStringLiteral("ab\r\ncd"));
        trigger("Copy");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("ab\r\ncd"));
        box->setSelection(1, 4);
        trigger("Delete");
        QCOMPARE(box->text(), QStringLiteral("acd"));
        trigger("Undo");
        QCOMPARE(box->text(), QStringLiteral("ab\r\ncd"));
        box->setSelection(0, 2);
        trigger("Cut");
        QCOMPARE(box->text(), QStringLiteral("\r\ncd"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("ab"));
        box->setCursorPosition(box->text().size());
        trigger("Paste");
        QCOMPARE(box->text(), QStringLiteral("\r\ncdab"));

        // A right click opens the menu at the pointer.
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(10, 10), box->viewport()->mapToGlobal(QPoint(10, 10)));
        QCoreApplication::sendEvent(box->viewport(), &click);
        auto *shown = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(shown);
        QCOMPARE(shown->parent(), box.get());
        shown->close();
    }

    void undoTakesBackTheLastEditAndThenRedoesIt()
    {
        auto box = makeBox();
        box->setText(QStringLiteral("ab"));
        box->setCursorPosition(2);
        QTest::keyClick(box.get(), Qt::Key_Z, Qt::ControlModifier); // nothing to undo after setText
        QCOMPARE(box->text(), QStringLiteral("ab"));
        QTest::keyClicks(box.get(), QStringLiteral("cd"));
        QTest::keyClick(box.get(), Qt::Key_Return);
        QCOMPARE(box->text(), QStringLiteral("abcd\r\n"));
        QTest::keyClick(box.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("abcd")); // the line break alone
        QTest::keyClick(box.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("abcd\r\n"));

        // A run of typing goes as a whole; moving the cursor ends the run.
        box->setText(QStringLiteral("x"));
        box->setCursorPosition(1);
        QTest::keyClicks(box.get(), QStringLiteral("yz"));
        QTest::keyClick(box.get(), Qt::Key_Left);
        QTest::keyClicks(box.get(), QStringLiteral("!"));
        QCOMPARE(box->text(), QStringLiteral("xy!z"));
        QTest::keyClick(box.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("xyz"));
        box->undo();
        box->undo();
        QCOMPARE(box->text(), QStringLiteral("xyz"));
        box->setText(QStringLiteral("q"));
        box->setCursorPosition(1);
        QTest::keyClicks(box.get(), QStringLiteral("rs"));
        box->undo();
        QCOMPARE(box->text(), QStringLiteral("q"));
        QCOMPARE(box->cursorPosition(), qsizetype(1));
    }

    void clicksPlaceTheCursorAndDoubleClickSelectsAWord()
    {
        auto box = makeBox();
        box->setText(QStringLiteral("abc\r\ndef"));
        QWidget *view = box->viewport();
        // Far right on the second line: the end of "def".
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(view->width() - 2, 2 + box->lineHeight() + 3));
        QCOMPARE(box->cursorPosition(), qsizetype(8));
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(0, 3));
        QCOMPARE(box->cursorPosition(), qsizetype(0));

        box->setText(QStringLiteral("<Font Color=#808000>a"));
        QTest::mouseDClick(view, Qt::LeftButton, {}, QPoint(2 + 40, 2 + 4));
        QCOMPARE(box->selectedText(), QStringLiteral("Color=#808000>a"));
    }

    void longestFadeLineWrapsAndScrolls()
    {
        // The plain fade of 32,767 characters: one line of 688,107 characters.
        QString html;
        html.reserve(21 * 32767);
        for (int i = 0; i < 32767; ++i)
            html += QStringLiteral("<Font Color=#%1>x").arg(QString::number(i * 509, 16).toUpper().rightJustified(6, u'0'));
        QCOMPARE(html.size(), 688107);
        auto box = makeBox();
        box->setText(html);
        QCOMPARE(box->text(), html);
        const auto &lines = box->visualLines();
        QVERIFY(lines.size() > 10000);
        QCOMPARE(lines.back().end(), html.size());
        QCOMPARE(box->verticalScrollBar()->maximum(), int(lines.size()) - box->verticalScrollBar()->pageStep());

        // Ctrl+End shows the last line; typing there changes only the end.
        QTest::keyClick(box.get(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(box->firstVisibleLine(), box->verticalScrollBar()->maximum());
        QTest::keyClicks(box.get(), QStringLiteral("!"));
        QCOMPARE(box->text().size(), 688108);
        QVERIFY(box->text().endsWith(QStringLiteral("x!")));
    }
};

QTEST_MAIN(MultiLineTextBoxTest)
#include "multilinetextbox_test.moc"
