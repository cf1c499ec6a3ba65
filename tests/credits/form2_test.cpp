#include "ui/credits/form2.h"
#include "tests/credits/rollbyhand.h"

#include "ui/toolkit/commandbutton.h"
#include "ui/toolkit/picturebox.h"
#include "ui/toolkit/timer.h"
#include "ui/toolkit/twips.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// A credits window whose timers are muted, so that tests tick it by hand.
struct Rig
{
    std::unique_ptr<Form2> form = std::make_unique<Form2>();
    Rig() { rollByHand(*form, 0); }
    void roll(int ticks) { rollByHand(*form, ticks); }
    QList<bool> ticking() const
    {
        return {form->Timer1()->isTicking(), form->Timer2()->isTicking(), form->Timer3()->isTicking()};
    }
};

} // namespace

class Form2Test : public QObject
{
    Q_OBJECT

private slots:
    void handOffIsDueFromTick221OnAndClosingUnloads();
    void nothingIsDrawnWhileHidden();
    void panelsAreTextAndPicturesImages();
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
    const QImage blank = f.Main()->surface().image();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Timer1_Timer();
    QVERIFY(f.Main()->surface().image() != blank);

    rig.roll(221);  // the hand-off hides the window and stops the roll; the strips rest
    QVERIFY(!f.isVisible());
    QCOMPARE(rig.ticking(), (QList<bool>{false, false, false}));
    const QImage hidden = f.Main()->surface().image();
    f.Timer2_Timer();
    f.Timer1_Timer();
    QCOMPARE(f.Main()->surface().image(), hidden);
}

void Form2Test::panelsAreTextAndPicturesImages()
{
    Form2 f;
    const std::pair<QWidget *, QString> controls[] = {
        {f.Main(), QStringLiteral("Graphic \"Credits artwork\"")},
        {f.Original(), QStringLiteral("Graphic \"Credits artwork, still\"")},
        {f.Command1(), QStringLiteral("StaticText \"Shout Outs\"")},
        {f.Command2(), QStringLiteral("StaticText \"") + f.Command2()->text() + u'"'},
        {f.Command3(), QStringLiteral("StaticText \"") + f.Command3()->text() + u'"'},
    };
    for (const auto &[control, said] : controls) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control);
        QCOMPARE(QStringLiteral("%1 \"%2\"").arg(qAccessibleRoleString(iface->role()), iface->text(QAccessible::Name)), said);
        QVERIFY(!iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    }
    // The artwork looks the same with the focus on it.
    f.show();
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QVERIFY(f.Main()->hasFocus());
    QCOMPARE(f.Main()->grab().toImage(), f.Main()->surface().image());
}

QTEST_MAIN(Form2Test)
#include "form2_test.moc"
