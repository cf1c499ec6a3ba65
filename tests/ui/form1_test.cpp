// The fader window: its controls as they start, the colour pickers, the hover
// emphasis and the fade commands, driven through its widgets.
#include "app/errorreport.h"
#include "ui/fader/form1.h"
#include "ui/toolkit/commandbutton.h"
#include "ui/toolkit/eventhandler.h"
#include "ui/toolkit/hscrollbar.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/multilinetextbox.h"
#include "ui/toolkit/picturebox.h"
#include "ui/toolkit/textbox.h"

#include "fade/varlofade.h"
#include "fakewindowsystem.h"
#include "messenger/sendimtext.h"

#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

class Form1Test : public QObject
{
    Q_OBJECT

    std::unique_ptr<Tarnellbas::FakeWindowSystem> windows;
    std::unique_ptr<Form1> form;
    QStringList reported;

    template <typename T>
    T *control(const char *name)
    {
        T *found = form->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    Toolkit::HScrollBar *bar(const char *name) { return control<Toolkit::HScrollBar>(name); }
    Toolkit::Label *label(const char *name) { return control<Toolkit::Label>(name); }
    Toolkit::CommandButton *button(const char *name) { return control<Toolkit::CommandButton>(name); }
    Toolkit::TextBox *text1() { return control<Toolkit::TextBox>("Text1"); }
    Toolkit::MultiLineTextBox *text2() { return control<Toolkit::MultiLineTextBox>("Text2"); }
    Toolkit::PictureBox *picture1() { return control<Toolkit::PictureBox>("Picture1"); }

    // The picture the renderer paints for html on a fresh box like Picture1.
    QImage renderedAlone(const QString &html)
    {
        Toolkit::PictureBox box;
        box.resize(picture1()->size());
        box.setBackColor(0x00FFFFFF);
        VarloFade::RenderHtmlPreview(box, html.toStdU16String());
        return box.image();
    }

    static bool allWhite(const QImage &image)
    {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) != QColor(255, 255, 255))
                    return false;
        return true;
    }

    // Each move is "bar=value", made in order.
    void moveBars(const QStringList &moves)
    {
        for (const QString &move : moves) {
            const QStringList parts = move.split(u'=');
            bar(parts[0].toLatin1().constData())->setValue(parts[1].toInt());
        }
    }

    // A click that waits in the event queue until the window next processes events.
    static void postClick(QWidget *button)
    {
        const QPoint at = button->rect().center();
        QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonPress, at, button->mapToGlobal(at),
                                                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonRelease, at, button->mapToGlobal(at),
                                                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    }

private slots:
    void init()
    {
        reported.clear();
        Toolkit::setErrorReport([this](const QString &error) { reported << error; });
        windows = std::make_unique<Tarnellbas::FakeWindowSystem>(Tarnellbas::FakeWindowSystem::Sleeping::Skipped);
        form = std::make_unique<Form1>(*windows);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    void cleanup()
    {
        form.reset();
        windows.reset();
    }

    void startsWithItsInitialValues()
    {
        QCOMPARE(form->windowTitle(), QStringLiteral("Quorvex AimFader"));
        for (const char *name : {"red1", "green1", "blue1", "red2", "green2", "blue2", "red3", "green3", "blue3"})
            QCOMPARE(bar(name)->value(), 0);
        for (const char *name : {"color1", "color2", "Color3"}) {
            QCOMPARE(label(name)->backColor(), int(0x80000007));
            QCOMPARE(label(name)->caption(), QString());
        }
        QCOMPARE(text1()->text(), QStringLiteral("Text Here"));
        QCOMPARE(text2()->text(), QStringLiteral("html code\r\n"));
        QCOMPARE(label("Label1")->caption(), QStringLiteral("faded text"));
        QCOMPARE(label("Label1")->backColor(), int(0x80000005));
        QCOMPARE(label("Label1")->foreColor(), int(0x80000008));
        const struct { const char *name, *caption; int back; } buttons[] = {
            {"Command1", "Fade", 0x00FFFFFF}, {"Command5", "Fade Wavy", int(0x80000009)},
            {"Command3", "Send IM", int(0x80000009)}};
        for (const auto &b : buttons) {
            QCOMPARE(button(b.name)->text(), QLatin1String(b.caption));
            QCOMPARE(button(b.name)->backColor(), b.back);
            QVERIFY(!button(b.name)->fontBold());
        }
        QCOMPARE(form->focusWidget(), button("Command3"));
    }

    void controlsStandAtTheirPlaces_data()
    {
        QTest::addColumn<QRect>("pixels"); // the row's tag names the control
        // Twips divided by 15.
        QTest::newRow("red1") << QRect(0, 8, 81, 17);
        QTest::newRow("green1") << QRect(0, 24, 81, 17);
        QTest::newRow("blue1") << QRect(0, 40, 81, 17);
        QTest::newRow("red2") << QRect(0, 64, 81, 17);
        QTest::newRow("green2") << QRect(0, 80, 81, 17);
        QTest::newRow("blue2") << QRect(0, 96, 81, 17);
        QTest::newRow("red3") << QRect(0, 120, 81, 17);
        QTest::newRow("green3") << QRect(0, 136, 81, 17);
        QTest::newRow("blue3") << QRect(0, 152, 81, 17);
        QTest::newRow("color1") << QRect(88, 8, 73, 49);
        QTest::newRow("color2") << QRect(88, 64, 73, 49);
        QTest::newRow("Color3") << QRect(88, 120, 73, 49);
        QTest::newRow("Command1") << QRect(168, 8, 97, 33);
        QTest::newRow("Command5") << QRect(272, 8, 97, 33);
        QTest::newRow("Command3") << QRect(376, 8, 105, 33);
        QTest::newRow("Text1") << QRect(168, 48, 313, 19);
        QTest::newRow("Text2") << QRect(168, 72, 313, 57);
        QTest::newRow("Label1") << QRect(168, 128, 57, 17);
        QTest::newRow("Picture1") << QRect(168, 144, 313, 25);
    }

    void controlsStandAtTheirPlaces()
    {
        QFETCH(QRect, pixels);
        QCOMPARE(form->findChild<QWidget *>(QLatin1String(QTest::currentDataTag()))->geometry(), pixels);
    }

    void loadPlacesTheWindowOnTop()
    {
        for (bool again : {false, true}) {
            if (again) { // loading again repeats the placement
                form->move(300, 250);
                form->resize(600, 400);
                form->Form_Load();
            }
            QCOMPARE(form->pos(), QPoint(100, 100));
            QCOMPARE(form->size(), QSize(486, 179));
            QVERIFY(form->isVisible());
            QVERIFY(form->windowFlags() & Qt::WindowStaysOnTopHint);
        }
    }

    void tabOrderFollowsTheTabIndexes()
    {
        const QStringList expected = {"Command3", "Picture1", "Text2", "blue1", "green1", "red1", "Text1", "Command1",
                                      "red2", "blue2", "green2", "blue3", "green3", "red3", "Command5"};
        QStringList order;
        QWidget *w = button("Command3");
        do {
            if (w->parentWidget() == form.get() && (w->focusPolicy() & Qt::TabFocus))
                order << w->objectName();
            w = w->nextInFocusChain();
        } while (w != button("Command3"));
        QCOMPARE(order, expected);
    }

    void barsColourTheirSwatch_data()
    {
        QTest::addColumn<QStringList>("moves");
        QTest::addColumn<int>("colour1");
        QTest::addColumn<int>("colour2");
        QTest::addColumn<int>("colour3");
        const int untouched = int(0x80000007);
        QTest::newRow("red1 to 255") << QStringList{"red1=255"} << 0x000000FF << untouched << untouched;
        QTest::newRow("group 1 white")
            << QStringList{"red1=255", "green1=255", "blue1=255"} << 0x00FFFFFF << untouched << untouched;
        QTest::newRow("blue2 to 1") << QStringList{"blue2=1"} << untouched << 0x00010000 << untouched;
        QTest::newRow("green3 then back to 0 stays a value")
            << QStringList{"green3=9", "green3=0"} << untouched << untouched << 0x00000000;
        QTest::newRow("one bar per group")
            << QStringList{"green1=16", "red2=1", "blue3=128"} << 0x00001000 << 0x00000001 << 0x00800000;
    }

    void barsColourTheirSwatch()
    {
        QFETCH(QStringList, moves);
        QFETCH(int, colour1);
        QFETCH(int, colour2);
        QFETCH(int, colour3);
        moveBars(moves);
        // The window shows the new colours at once, with no event turn between.
        const QImage window = form->grab().toImage();
        const std::pair<const char *, int> swatches[] = {{"color1", colour1}, {"color2", colour2}, {"Color3", colour3}};
        for (auto [name, colour] : swatches) {
            QCOMPARE(label(name)->backColor(), colour);
            QCOMPARE(window.pixelColor(label(name)->geometry().center()), Toolkit::resolveColor(colour));
        }
    }

    void keysOnAFocusedBarMoveIt()
    {
        bar("green2")->setFocus();
        QTest::keyClick(bar("green2"), Qt::Key_End);
        QCOMPARE(label("color2")->backColor(), 0x0000FF00);
        QTest::keyClick(bar("green2"), Qt::Key_Left);
        QCOMPARE(label("color2")->backColor(), 0x0000FE00);
    }

    void hoverBoldsOnlyTheButtonUnderThePointer()
    {
        QTest::mouseMove(form.get(), QPoint(200, 20)); // Command1
        QVERIFY(button("Command1")->fontBold());
        QVERIFY(!button("Command5")->fontBold());
        QTest::mouseMove(form.get(), QPoint(400, 20)); // Command3
        QVERIFY(button("Command1")->fontBold());
        QVERIFY(button("Command3")->fontBold());
        // Over other controls nothing changes.
        for (QPoint p : {QPoint(200, 55), QPoint(200, 90), QPoint(40, 10), QPoint(120, 30), QPoint(190, 135)})
            QTest::mouseMove(form.get(), p);
        QVERIFY(button("Command1")->fontBold());
        QVERIFY(button("Command3")->fontBold());
        QVERIFY(!button("Command5")->fontBold());
        // A drag over a swatch is not a move over the background either.
        QTest::mousePress(form.get(), Qt::LeftButton, {}, QPoint(120, 30));
        QTest::mouseMove(form.get(), QPoint(125, 35));
        QTest::mouseRelease(form.get(), Qt::LeftButton, {}, QPoint(125, 35));
        QVERIFY(button("Command1")->fontBold());
        // The bare background between the buttons sets all three regular.
        QTest::mouseMove(form.get(), QPoint(268, 20));
        QVERIFY(!button("Command1")->fontBold());
        QVERIFY(!button("Command3")->fontBold());
        QVERIFY(!button("Command5")->fontBold());
    }

    void fadeCommands_data()
    {
        QTest::addColumn<bool>("wavy");
        QTest::addColumn<QStringList>("moves");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("html");
        const QStringList rgb = {"red1=255", "green2=255", "blue3=255"};
        QTest::newRow("Fade, red green blue")
            << false << rgb << "abc" << "<Font Color=#808000>a<Font Color=#00FF00>b<Font Color=#0000FF>c";
        QTest::newRow("Fade Wavy, red green blue")
            << true << rgb << "abc"
            << "<Font Color=#808000><sup>a<Font Color=#00FF00></sup>b<Font Color=#0000FF><sub>c";
        QTest::newRow("Fade Wavy, blue to white across a blank")
            << true << QStringList{"red1=255", "blue2=255", "red3=255", "green3=255", "blue3=255"} << "ab cd"
            << "<Font Color=#800080><sup>a<Font Color=#0000FF></sup>b<Font Color=#5555FF><sub> "
               "<Font Color=#AAAAFF></sub>c<Font Color=#FFFFFF><sup>d";
        QTest::newRow("untouched swatches pass 0x80000007")
            << false << QStringList() << "hi" << "<Font Color=#070080>h<Font Color=#070080>i";
        QTest::newRow("empty text gives empty HTML") << false << rgb << "" << "";
        QTest::newRow("line breaks copied into the HTML")
            << false << QStringList() << "a\r\n" << "<Font Color=#070080>a<Font Color=#070080>\r<Font Color=#070080>\n";
    }

    void fadeCommands()
    {
        QFETCH(bool, wavy);
        QFETCH(QStringList, moves);
        QFETCH(QString, text);
        QFETCH(QString, html);
        moveBars(moves);
        text1()->setText(text);
        QTest::mouseClick(button(wavy ? "Command5" : "Command1"), Qt::LeftButton);
        QCOMPARE(text2()->text(), html);
        QCOMPARE(text1()->text(), text);
        QVERIFY(reported.isEmpty());
        // The preview is the picture of exactly that HTML.
        QCOMPARE(picture1()->image(), renderedAlone(html));
        QCOMPARE(allWhite(picture1()->image()), html.isEmpty());
    }

    void enterPressesFadeWavyExceptInTheHtmlBox()
    {
        text1()->setText(QStringLiteral("ab"));
        text1()->setFocus();
        QTest::keyClick(text1(), Qt::Key_Return);
        QCOMPARE(text2()->text(), QStringLiteral("<Font Color=#070080><sup>a<Font Color=#070080></sup>b"));

        text2()->setFocus();
        text2()->setCursorPosition(0);
        QTest::keyClick(text2(), Qt::Key_Return);
        QCOMPARE(text2()->text(), QStringLiteral("\r\n<Font Color=#070080><sup>a<Font Color=#070080></sup>b"));

        // On a focused command button Enter presses that button.
        bar("red1")->setFocus();
        QTest::keyClick(bar("red1"), Qt::Key_Enter);
        QCOMPARE(text2()->text(), QStringLiteral("<Font Color=#070080><sup>a<Font Color=#070080></sup>b"));
        button("Command1")->setFocus();
        QTest::keyClick(button("Command1"), Qt::Key_Return);
        QCOMPARE(text2()->text(), QStringLiteral("<Font Color=#070080>a<Font Color=#070080>b"));
    }

    void overflowIsReportedAndChangesNothing()
    {
        text1()->setText(QString(32768, u'x'));
        text2()->setText(QStringLiteral("before\r\n"));
        QVERIFY_THROWS_EXCEPTION(VarloFade::OverflowError, form->Command1_Click());
        QTest::mouseClick(button("Command1"), Qt::LeftButton);
        QTest::mouseClick(button("Command5"), Qt::LeftButton);
        QCOMPARE(reported, (QStringList{"Overflow", "Overflow"}));
        QCOMPARE(text2()->text(), QStringLiteral("before\r\n"));
        QVERIFY(allWhite(picture1()->image()));
        QVERIFY(form->isVisible());

        // 32,767 characters still fade; a later overflow keeps that box and preview.
        text1()->setText(QString(32767, u'x'));
        QTest::mouseClick(button("Command1"), Qt::LeftButton);
        QCOMPARE(text2()->text().size(), 21 * 32767);
        QCOMPARE(reported.size(), 2);
        const QString html = text2()->text();
        const QImage picture = picture1()->image();
        QVERIFY(!allWhite(picture));
        text1()->setText(QString(32768, u'y'));
        QTest::mouseClick(button("Command5"), Qt::LeftButton);
        QCOMPARE(reported, QStringList(3, QStringLiteral("Overflow")));
        QCOMPARE(text2()->text(), html);
        QCOMPARE(picture1()->image(), picture);
    }

    void clickDuringThePreviewRunsAWholeSecondCommand()
    {
        // Carriage returns in the HTML give the renderer's event turns.
        bar("red1")->setValue(255);
        text1()->setText(QStringLiteral("one\r\ntwo\r\n"));
        const QString plain = QString::fromStdU16String(
            VarloFade::FadeText(0x000000FF, int(0x80000007), int(0x80000007), u"one\r\ntwo\r\n", false));
        const QString wavy = QString::fromStdU16String(
            VarloFade::FadeText(0x000000FF, int(0x80000007), int(0x80000007), u"one\r\ntwo\r\n", true));

        postClick(button("Command5"));
        QTest::mouseClick(button("Command1"), Qt::LeftButton);

        // "Fade Wavy" ran inside "Fade", after it had set the box: the box holds
        // the wavy HTML, and "Fade", finishing last, left its own whole picture.
        QCOMPARE(text2()->text(), wavy);
        QCOMPARE(picture1()->image(), renderedAlone(plain));
        QVERIFY(picture1()->image() != renderedAlone(wavy));
        QVERIFY(reported.isEmpty());
    }

    void closingDuringACommandDeletesTheWindowAfterIt_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("html"); // Text2 afterwards
        const std::u16string text = u"a\r\nb\r\nc\r\nd";
        const int untouched = int(0x80000007);
        QTest::newRow("Fade, in the preview's event turns")
            << "Command1"
            << QString::fromStdU16String(VarloFade::FadeText(untouched, untouched, untouched, text, false));
        QTest::newRow("Fade Wavy, in the preview's event turns")
            << "Command5"
            << QString::fromStdU16String(VarloFade::FadeText(untouched, untouched, untouched, text, true));
        QTest::newRow("Send IM, waiting for AIM") << "Command3" << "html code\r\n";
    }

    void closingDuringACommandDeletesTheWindowAfterIt()
    {
        QFETCH(QString, command);
        QFETCH(QString, html);
        // Closing deletes the window, as the program's fader window does.
        Form1 *window = form.release();
        window->setAttribute(Qt::WA_DeleteOnClose);
        const QPointer<Form1> alive(window);
        window->findChild<Toolkit::TextBox *>(QStringLiteral("Text1"))->setText(QStringLiteral("a\r\nb\r\nc\r\nd"));
        bool closed = false;
        QTimer::singleShot(0, window, [&] { closed = window->close(); });

        QTest::mouseClick(window->findChild<Toolkit::CommandButton *>(command), Qt::LeftButton);

        // The close came inside the command, which still ran to its end on a
        // window that was there...
        QVERIFY(closed);
        QVERIFY(alive);
        QVERIFY(!alive->isVisible());
        QCOMPARE(alive->findChild<Toolkit::MultiLineTextBox *>(QStringLiteral("Text2"))->text(), html);
        QVERIFY(reported.isEmpty());
        // ...and the window goes once the command is over.
        QTRY_VERIFY(!alive);
    }

    void sendImSendsWhatTheBoxHoldsAndLeavesThePreview()
    {
        const Tarnellbas::FakeImWindow aim = Tarnellbas::addFakeImWindow(*windows);
        // Right after start-up the box holds "html code".
        QTest::mouseClick(button("Command3"), Qt::LeftButton);
        QCOMPARE(windows->window(aim.messageBox)->text, std::u16string(u"html code\r\n"));
        const auto &received = windows->window(aim.sendButton)->received;
        QCOMPARE(received.size(), size_t(2));
        QCOMPARE(received[0].message, Tarnellbas::WmLButtonDown);
        QCOMPARE(received[1].message, Tarnellbas::WmLButtonUp);

        // After a fade and an edit it sends the edited box.
        text1()->setText(QStringLiteral("ab"));
        QTest::mouseClick(button("Command1"), Qt::LeftButton);
        const QImage picture = picture1()->image();
        text2()->setFocus();
        QTest::keyClick(text2(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(text2(), Qt::Key_Return);
        QTest::keyClicks(text2(), QStringLiteral("hi"));
        QCOMPARE(picture1()->image(), picture); // editing the box leaves the preview
        QTest::mouseClick(button("Command3"), Qt::LeftButton);
        QCOMPARE(windows->window(aim.messageBox)->text,
                 std::u16string(u"<Font Color=#070080>a<Font Color=#070080>b\r\nhi"));
        QCOMPARE(picture1()->image(), picture);
        QCOMPARE(text2()->text(), QStringLiteral("<Font Color=#070080>a<Font Color=#070080>b\r\nhi"));
        QVERIFY(reported.isEmpty());
    }

    void sendImWithoutAimChangesNothingAndReportsNothing()
    {
        QTest::mouseClick(button("Command3"), Qt::LeftButton);
        // The steps still run, on no window at all.
        for (const Tarnellbas::FakeCall &call : windows->callsOf(Tarnellbas::FakeCall::Kind::SetText))
            QCOMPARE(call.window, Tarnellbas::WindowHandle(0));
        QVERIFY(windows->allReceived().empty());
        QCOMPARE(windows->callsOf(Tarnellbas::FakeCall::Kind::FindWindow).size(),
                 size_t(Tarnellbas::kReadinessPasses + 2));
        QVERIFY(reported.isEmpty());
        QCOMPARE(text2()->text(), QStringLiteral("html code\r\n"));
    }

    void sendImKeepsItsTextWhenAFadeRunsDuringTheWait()
    {
        const Tarnellbas::FakeImWindow aim = Tarnellbas::addFakeImWindow(*windows);
        text1()->setText(QStringLiteral("xy"));
        postClick(button("Command1"));
        QTest::mouseClick(button("Command3"), Qt::LeftButton);
        // The fade ran inside the send, in its readiness loop...
        QCOMPARE(text2()->text(), QStringLiteral("<Font Color=#070080>x<Font Color=#070080>y"));
        // ...which still sent what the box held when "Send IM" was pressed.
        QCOMPARE(windows->window(aim.messageBox)->text, std::u16string(u"html code\r\n"));
        QCOMPARE(windows->window(aim.messageBox)->textsSet, 1);
    }

    void errorReportIsAModalMessageNamingTheError()
    {
        QString shown;
        bool modal = false;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            shown = box->text();
            modal = box->isModal();
            box->accept();
        });
        Toolkit::setErrorReport(showErrorReport);
        text1()->setText(QString(40000, u'x'));
        QTest::mouseClick(button("Command1"), Qt::LeftButton);
        QVERIFY(modal);
        QVERIFY(shown.contains(QStringLiteral("Overflow")));
        QCOMPARE(shown, errorReportText(QStringLiteral("Overflow")));
        QCOMPARE(text2()->text(), QStringLiteral("html code\r\n"));
        QVERIFY(form->isVisible());
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
