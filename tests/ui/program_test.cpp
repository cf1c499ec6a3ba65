// The program's windows: the credits hand over to the fader window, and
// closing that ends the program, also while one of its commands is running.
#include "app/program.h"
#include "ui/credits/form2.h"
#include "ui/fader/form1.h"
#include "ui/toolkit/timer.h"

#include "tests/credits/rollbyhand.h"
#include "tests/messenger/fakewindowsystem.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

class ProgramTest : public QObject
{
    Q_OBJECT

    Tarnellbas::FakeWindowSystem windows;

    // The credits' timers muted, so that the test ticks the roll by hand.
    static void roll(Program &program, int ticks) { rollByHand(*program.credits(), ticks); }

private slots:
    void theHandOffShowsTheFaderWindow()
    {
        Program program(windows);
        program.start();
        QVERIFY(program.credits()->isVisible());
        roll(program, 220);
        QVERIFY(!program.fader());
        roll(program, 1);
        QPointer<Form1> fader = program.fader();
        QVERIFY(fader && fader->isVisible() && !program.credits()->isVisible());
    }

    void closingTheFaderInsideItsOwnCommandEndsTheProgram()
    {
        auto program = std::make_unique<Program>(windows);
        QSignalSpy finished(program.get(), &Program::finished);
        program->start();
        roll(*program, 221);
        QPointer<Form1> fader = program->fader();
        QVERIFY(fader);

        // A fader command that lets pending events run, as Fade and Send IM do,
        // while the user closes the window: the window outlives the command.
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
        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(!program->credits()->isLoaded());
        QVERIFY(!program->credits()->Timer3()->isTicking());
        program.reset(); // the closed fader window goes with the program
        QVERIFY(!fader);
    }

    // Only a close the fader window takes ends the program: a hide, or a
    // refused close and then a hide, leaves it running.
    void aHideWithoutACloseLeavesTheProgramRunning()
    {
        Program program(windows);
        QSignalSpy finished(&program, &Program::finished);
        program.start();
        roll(program, 221);
        Form1 *fader = program.fader();
        QVERIFY(fader);
        fader->hide();
        QCoreApplication::processEvents();
        QCOMPARE(finished.count(), 0);

        // Refused after the program has seen the close, as by the window itself.
        struct RefuseClose : QObject
        {
            bool eventFilter(QObject *, QEvent *event) override
            {
                if (event->type() != QEvent::Close)
                    return false;
                event->ignore();
                return true;
            }
        } refuse;
        fader->installEventFilter(&refuse);
        fader->installEventFilter(&program);
        fader->show();
        QVERIFY(!fader->close());
        QCoreApplication::processEvents();
        fader->hide();
        QCoreApplication::processEvents();
        QCOMPARE(finished.count(), 0);

        fader->removeEventFilter(&refuse);
        fader->show();
        QVERIFY(fader->close());
        QTRY_COMPARE(finished.count(), 1);
    }

    void closingTheCreditsEndsTheProgram()
    {
        Program program(windows);
        QSignalSpy finished(&program, &Program::finished);
        program.start();
        QVERIFY(program.credits()->close());
        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(!program.fader());
    }
};

QTEST_MAIN(ProgramTest)
#include "program_test.moc"
