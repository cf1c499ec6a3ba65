#include "ui/credits/form2.h"

#include "ui/toolkit/commandbutton.h"
#include "ui/toolkit/picturebox.h"
#include "ui/toolkit/timer.h"
#include "ui/toolkit/twips.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// A credits window whose timers are muted, so that tests tick it by hand.
struct Rig
{
    std::unique_ptr<Form2> form = std::make_unique<Form2>();

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
    void handOffIsDueFromTick221OnAndClosingUnloads();
    void nothingIsDrawnWhileHidden();
};

void Form2Test::handOffIsDueFromTick221OnAndClosingUnloads()
{
    Rig rig;
    QSignalSpy due(rig.form.get(), &Form2::handOffDue);
    QSignalSpy unloaded(rig.form.get(), &Form2::unloaded);
    rig.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.form.get()));
    // The roll measures from the outer height, frame included, once it is known.
    rig.roll(1);
    QCOMPARE(rig.form->rollOuterHeight(), rig.form->outerHeightTwips());
    QCOMPARE(rig.form->Command1()->y(), Toolkit::twipsToPixels(rig.form->outerHeightTwips() - 30));
    rig.roll(219);
    QCOMPARE(due.count(), 0);
    QVERIFY(rig.form->isVisible());
    rig.roll(1);
    QCOMPARE(due.count(), 1);
    QVERIFY(!rig.form->isVisible());

    QVERIFY(rig.form->close());
    QCOMPARE(unloaded.count(), 1);
    QCOMPARE(rig.ticking(), (QList<bool>{false, false, false}));
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

    rig.roll(221);  // the hand-off hides the window and stops the roll; the strips rest
    QVERIFY(!f.isVisible());
    QCOMPARE(rig.ticking(), (QList<bool>{false, false, false}));
    const QImage hidden = f.Main()->image();
    f.Timer2_Timer();
    f.Timer1_Timer();
    QCOMPARE(f.Main()->image(), hidden);
}

QTEST_MAIN(Form2Test)
#include "form2_test.moc"
