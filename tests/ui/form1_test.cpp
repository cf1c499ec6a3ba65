// The fader window driven through its widgets: the colour pickers, the hover
// emphasis, the fade and send commands, and commands nested in each other.
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
#include "tests/messenger/fakewindowsystem.h"

#include <QAccessible>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

class Form1Test : public QObject
{
    Q_OBJECT

    static constexpr int kUntouched = int(0x80000007);
    static QString fadeOf(const std::u16string &text, bool wavy)
    {
        return QString::fromStdU16String(VarloFade::FadeText(kUntouched, kUntouched, kUntouched, text, wavy));
    }

    std::unique_ptr<Tarnellbas::FakeWindowSystem> windows;
    std::unique_ptr<Form1> form;
    QStringList reported;

    template <typename T> T *control(const char *name) { return form->findChild<T *>(QLatin1String(name)); }
    Toolkit::HScrollBar *bar(const char *name) { return control<Toolkit::HScrollBar>(name); }
    Toolkit::Label *swatch(const char *name) { return control<Toolkit::Label>(name); }
    Toolkit::CommandButton *button(const char *name) { return control<Toolkit::CommandButton>(name); }
    Toolkit::TextBox *text1() { return control<Toolkit::TextBox>("Text1"); }
    Toolkit::MultiLineTextBox *text2() { return control<Toolkit::MultiLineTextBox>("Text2"); }
    QImage preview() { return control<Toolkit::PictureBox>("Picture1")->surface().image(); }

    // The picture the renderer paints for html on a fresh box like Picture1.
    static QImage renderedAlone(const QString &html)
    {
        Toolkit::ImageSurface surface(QSize(313, 25), 0x00FFFFFF);
        VarloFade::RenderHtmlPreview(surface, html.toStdU16String());
        return surface.image();
    }

    // Each move is "bar=value", made in order.
    void moveBars(const QStringList &moves)
    {
        for (const QString &move : moves)
            bar(move.section(u'=', 0, 0).toLatin1().constData())->setValue(move.section(u'=', 1).toInt());
    }

    QImage looks(const char *name) { return control<QWidget>(name)->grab().toImage(); }

    // A click that waits in the event queue until the window next processes events.
    static void queueClick(QAbstractButton *button) { QTimer::singleShot(0, button, &QAbstractButton::click); }

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

    void cleanup() { form.reset(), windows.reset(); }

    void barsColourTheirSwatch()
    {
        // Each step's moves, made in order, then the three swatches' colours.
        const std::pair<QStringList, QList<int>> steps[] = {
            {{"red1=255", "green1=255", "blue1=255"}, {0x00FFFFFF, kUntouched, kUntouched}},
            {{"blue2=1"}, {0x00FFFFFF, 0x00010000, kUntouched}},
            {{"green3=9", "green3=0"}, {0x00FFFFFF, 0x00010000, 0}}, // back to 0 stays a value
        };
        for (const auto &[moves, colours] : steps) {
            moveBars(moves);
            // The window shows the new colours at once, with no event turn between.
            const QImage window = form->grab().toImage();
            const char *names[] = {"color1", "color2", "Color3"};
            for (int i = 0; i < 3; ++i) {
                QCOMPARE(swatch(names[i])->backColor(), colours[i]);
                QCOMPARE(window.pixelColor(swatch(names[i])->geometry().center()), Toolkit::resolveColor(colours[i]));
            }
        }
    }

    // The bar keys as on the platform; a dragged thumb sets the colour when it
    // is let go; the swatch says its colour.
    void barKeysThumbAndTheSwatchSaid()
    {
        QAccessibleInterface *said = QAccessible::queryAccessibleInterface(swatch("Color3"));
        QCOMPARE(said->text(QAccessible::Description), QStringLiteral("not set"));
        bar("blue3")->setValue(7);
        const std::pair<Qt::Key, int> keys[] = {{Qt::Key_Left, 99}, {Qt::Key_Up, 99}, {Qt::Key_PageUp, 99},
            {Qt::Key_Right, 101}, {Qt::Key_Down, 101}, {Qt::Key_PageDown, 101}, {Qt::Key_Home, 0}, {Qt::Key_End, 255}};
        for (const auto &[key, value] : keys) {
            bar("red3")->setValue(100);
            QTest::keyClick(bar("red3"), key);
            QVERIFY2(bar("red3")->value() == value, qPrintable(QKeySequence(key).toString()));
        }
        QCOMPARE(said->text(QAccessible::Description), QStringLiteral("red 255, green 0, blue 7"));
        bar("red3")->setSliderDown(true);
        bar("red3")->setSliderPosition(200);
        QCOMPARE(swatch("Color3")->backColor(), 0x070000 + 255);
        bar("red3")->setSliderDown(false);
        QCOMPARE(swatch("Color3")->backColor(), 0x070000 + 200);
    }

    void hoverEmphasisChangesOnlyTheWeight()
    {
        const QFont regular = button("Command1")->font();
        QFont bold = regular;
        bold.setWeight(QFont::Bold);
        // Over Command1 and Command3, then over other controls, which change nothing.
        for (QPoint p : {QPoint(200, 20), QPoint(400, 20), QPoint(200, 55), QPoint(40, 10), QPoint(120, 30),
                         QPoint(190, 135)})
            QTest::mouseMove(form->windowHandle(), p);
        QCOMPARE(button("Command1")->font(), bold);
        QVERIFY(button("Command3")->fontBold() && !button("Command5")->fontBold());
        // The bare background between the buttons sets all three regular.
        QTest::mouseMove(form->windowHandle(), QPoint(268, 20));
        for (const char *name : {"Command1", "Command3", "Command5"})
            QCOMPARE(button(name)->font(), regular);
    }

    void focusStartsOnSendImStopsInOrderAndShows()
    {
        QCOMPARE(QApplication::focusWidget(), button("Command3"));
        QStringList stops;
        QWidget *w = button("Command3");
        do {
            if (w->focusPolicy() & Qt::TabFocus)
                stops << QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
        } while ((w = w->nextInFocusChain()) != button("Command3"));
        QCOMPARE(stops, (QStringList{"Send IM", "HTML preview", "HTML code", "Colour 1, blue", "Colour 1, green",
                                     "Colour 1, red", "Text to fade", "Fade", "Colour 2, red", "Colour 2, blue",
                                     "Colour 2, green", "Colour 3, blue", "Colour 3, green", "Colour 3, red",
                                     "Fade Wavy"}));

        // The focus shows on the bars and on the preview.
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        // Unfocused, the preview looks as its picture.
        bar("green2")->setValue(9);
        const QImage bareBar = looks("green2"), barePreview = looks("Picture1");
        QCOMPARE(barePreview, preview());
        // Focused, both show it; a click in a bar's trough gives it the focus.
        QTest::mouseClick(bar("green2"), Qt::LeftButton, {}, QPoint(bar("green2")->width() - 20, 8));
        QVERIFY(bar("green2")->hasFocus());
        QCOMPARE(bar("green2")->value(), 10);
        bar("green2")->setValue(9);
        QVERIFY(looks("green2") != bareBar);
        control<QWidget>("Picture1")->setFocus();
        QVERIFY(looks("Picture1") != barePreview);
        QCOMPARE(looks("green2"), bareBar);
        button("Command3")->setFocus();
        QCOMPARE(looks("Picture1"), barePreview);
    }

    void fadeCommandsAndTheirOverflow()
    {
        moveBars({"red1=255", "green2=255", "blue3=255"});
        const struct { const char *command, *text, *html; } fades[] = {
            {"Command1", "abc", "<Font Color=#808000>a<Font Color=#00FF00>b<Font Color=#0000FF>c"},
            {"Command5", "abc", "<Font Color=#808000><sup>a<Font Color=#00FF00></sup>b<Font Color=#0000FF><sub>c"},
            {"Command1", "", ""}, // empty text gives empty HTML
        };
        for (const auto &f : fades) {
            text1()->setText(QLatin1String(f.text));
            QTest::mouseClick(button(f.command), Qt::LeftButton);
            QCOMPARE(text2()->text(), QLatin1String(f.html));
            QCOMPARE(text1()->text(), QLatin1String(f.text));
            QVERIFY(reported.isEmpty());
            QCOMPARE(preview(), renderedAlone(QLatin1String(f.html)));
        }

        // The longest text fades; one character more is reported and changes nothing.
        text1()->setText(QString(32767, u'x')); // the longest text that fades
        QTest::mouseClick(button("Command1"), Qt::LeftButton);
        QCOMPARE(text2()->text().size(), 21 * 32767);
        const QString html = text2()->text();
        const QImage picture = preview();
        QVERIFY(picture != renderedAlone(QString()));
        text1()->setText(QString(32768, u'y'));
        QTest::mouseClick(button("Command1"), Qt::LeftButton);
        QTest::mouseClick(button("Command5"), Qt::LeftButton);
        QCOMPARE(reported, (QStringList{"Overflow", "Overflow"}));
        // The program's own report is a modal message naming the error.
        QString shown;
        QTimer::singleShot(0, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        Toolkit::setErrorReport(showErrorReport);
        QTest::mouseClick(button("Command1"), Qt::LeftButton);
        QVERIFY(shown.contains(QStringLiteral("Overflow")));
        QCOMPARE(text2()->text(), html);
        QCOMPARE(preview(), picture);
        QVERIFY(form->isVisible());
    }

    void commandsInsideThePreviewsEventTurns()
    {
        // Carriage returns in the HTML give the renderer's event turns.
        text1()->setText(QStringLiteral("one\r\ntwo\r\n"));
        queueClick(button("Command5"));
        QTest::mouseClick(button("Command1"), Qt::LeftButton);
        // "Fade Wavy" ran inside "Fade", after it had set the box: the box holds
        // the wavy HTML, and "Fade", finishing last, left its own whole picture.
        QCOMPARE(text2()->text(), fadeOf(u"one\r\ntwo\r\n", true));
        QCOMPARE(preview(), renderedAlone(fadeOf(u"one\r\ntwo\r\n", false)));
        QVERIFY(preview() != renderedAlone(fadeOf(u"one\r\ntwo\r\n", true)));
        QVERIFY(reported.isEmpty());

        // A close in the preview's event turns: the window goes after the fade.
        text1()->setText(QStringLiteral("a\r\nb\r\nc"));
        Form1 *window = form.release();
        window->setAttribute(Qt::WA_DeleteOnClose); // as the program's fader window
        const QPointer<Form1> alive(window);
        bool closed = false;
        QTimer::singleShot(0, window, [&] { closed = window->close(); });
        QTest::mouseClick(window->findChild<Toolkit::CommandButton *>(QStringLiteral("Command1")), Qt::LeftButton);
        // The fade, closed in the preview's event turns, ran to its end on a window that was still there...
        QVERIFY(closed && alive && !alive->isVisible());
        QCOMPARE(alive->findChild<Toolkit::MultiLineTextBox *>("Text2")->text(), fadeOf(u"a\r\nb\r\nc", false));
        // The preview tells what it shows, one line at each carriage return.
        QAccessibleInterface *picture = QAccessible::queryAccessibleInterface(alive->findChild<QWidget *>("Picture1"));
        QVERIFY(picture->imageInterface());
        QCOMPARE(picture->imageInterface()->imageDescription(), QStringLiteral("a\n\nb\n\nc"));
        QVERIFY(reported.isEmpty());
        // ...and the window goes once the fade is over.
        QTRY_VERIFY(!alive);
    }

    void sendImSendsWhatTheBoxHeldWhenPressed()
    {
        // Without AIM nothing is sent and nothing reported.
        QTest::mouseClick(button("Command3"), Qt::LeftButton);
        QVERIFY(windows->allReceived().empty());
        QVERIFY(reported.isEmpty());
        const Tarnellbas::FakeImWindow aim = Tarnellbas::addFakeImWindow(*windows);
        // A fade run inside the send, in its readiness loop, changes the box but
        // not what is sent.
        text1()->setText(QStringLiteral("xy"));
        queueClick(button("Command1"));
        QTest::mouseClick(button("Command3"), Qt::LeftButton);
        QCOMPARE(text2()->text(), QStringLiteral("<Font Color=#070080>x<Font Color=#070080>y"));
        QCOMPARE(windows->window(aim.messageBox)->text, std::u16string(u"html code\r\n"));
        // The box as edited by hand is what goes; the preview stays the fade's.
        const QImage picture = preview();
        text2()->setFocus();
        QTest::keyClick(text2(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(text2(), QStringLiteral("hi"));
        QTest::mouseClick(button("Command3"), Qt::LeftButton);
        QCOMPARE(windows->window(aim.messageBox)->text,
                 std::u16string(u"<Font Color=#070080>x<Font Color=#070080>yhi"));
        QCOMPARE(windows->window(aim.messageBox)->textsSet, 2);
        QCOMPARE(preview(), picture);
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
