// The program's windows: the credits hand over to the fader window, and
// closing that ends the program, also while one of its commands is running.
#include "app/program.h"
#include "ui/credits/form2.h"
#include "ui/fader/form1.h"
#include "ui/toolkit/timer.h"

#include "tests/credits/rollbyhand.h"
#include "tests/messenger/fakewindowsystem.h"

#include <QCloseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

class ProgramTest : public QObject
{
    Q_OBJECT

    Tarnellbas::FakeWindowSystem windows;

private slots:
    void onlyClosingTheFaderEndsTheProgramEvenInsideItsOwnCommand()
    {
        auto program = std::make_unique<Program>(windows);
        QSignalSpy finished(program.get(), &Program::finished);
        program->start();
        // The credits' timers muted, so that the test ticks the roll by hand.
        rollByHand(*program->credits(), 220);
        QVERIFY(program->credits()->isVisible() && !program->fader());
        rollByHand(*program->credits(), 1);
        QPointer<Form1> fader = program->fader();
        QVERIFY(fader && fader->isVisible() && !program->credits()->isVisible());

        // A refused close and then a hide leave the program running.
        QCloseEvent refused; // seen by the program, not acted on by the window
        QCoreApplication::sendEvent(fader, &refused);
        QCoreApplication::processEvents();
        fader->hide();
        QCoreApplication::processEvents();
        QCOMPARE(finished.count(), 0);
        fader->show();

        // A fader command that lets pending events run, as Fade and Send IM do,
        // while the user closes the window: the window outlives the command.
        bool survived = false;
        QTimer::singleShot(0, fader, [&] {
            QTimer::singleShot(0, fader, [&] { QVERIFY(fader->close()); });
            for (int i = 0; i < 20; ++i)
                QCoreApplication::processEvents();
            survived = fader && !fader->isVisible();
        });
        QTRY_VERIFY(survived);
        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(!program->credits()->isLoaded());
        QVERIFY(!program->credits()->Timer3()->isTicking());
        program.reset(); // the closed fader window goes with the program
        QVERIFY(!fader);
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
