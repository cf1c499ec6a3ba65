#include "ui/credits/form2.h"

#include "ui/toolkit/picturebox.h"
#include "ui/toolkit/timer.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// A credits window whose timers are muted, so that tests tick it by hand, and
// whose fader window is a plain widget.
struct Rig
{
    std::unique_ptr<Form2> form = std::make_unique<Form2>([] { return new QWidget; });

    QList<Toolkit::Timer *> timers{form->Timer1(), form->Timer2(), form->Timer3()};

    Rig()
    {
        for (Toolkit::Timer *t : timers)
            t->blockSignals(true);
    }
    void roll(int ticks)
    {
        while (ticks--)
            form->Timer3_Timer();
    }
    QList<bool> ticking() const { return {timers[0]->isTicking(), timers[1]->isTicking(), timers[2]->isTicking()}; }
};

} // namespace

class Form2Test : public QObject
{
    Q_OBJECT

private slots:
    void closingTheFaderInsideItsOwnHandlerUnloadsEverything();
    void nothingIsDrawnWhileHidden();
};

void Form2Test::closingTheFaderInsideItsOwnHandlerUnloadsEverything()
{
    Rig rig;
    QSignalSpy unloaded(rig.form.get(), &Form2::unloaded);
    rig.form->show();
    rig.roll(221);
    QPointer<QWidget> fader = rig.form->fader();
    QVERIFY(fader && fader->isVisible() && !rig.form->isVisible());

    // A fader command that lets pending events run, as Fade and Send IM do, while
    // the user closes the window: the window must outlive the running command.
    bool done = false, survived = false;
    QTimer::singleShot(0, fader, [&] {
        QTimer::singleShot(0, fader, [&] { QVERIFY(fader->close()); });
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
        survived = fader && !fader->isVisible();
        done = true;
    });
    QTRY_VERIFY(done);
    QVERIFY(survived);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(fader && !fader->isVisible());
    QCOMPARE(unloaded.count(), 1);
    QCOMPARE(rig.ticking(), (QList<bool>{false, false, false}));
    rig.form.reset();  // the closed fader window goes with the credits window
    QVERIFY(!fader);
}

void Form2Test::nothingIsDrawnWhileHidden()
{
    Rig rig;
    Form2 &f = *rig.form;
    const QImage blank = f.Main()->image();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Timer1_Timer();
    QVERIFY(f.Main()->image() != blank);

    rig.roll(221);  // the hand-off hides the window; the roll goes on, the strips rest
    QVERIFY(!f.isVisible());
    QCOMPARE(rig.ticking(), (QList<bool>{false, false, true}));
    const QImage hidden = f.Main()->image();
    f.Timer2_Timer();
    f.Timer1_Timer();
    QCOMPARE(f.Main()->image(), hidden);
}

QTEST_MAIN(Form2Test)
#include "form2_test.moc"
