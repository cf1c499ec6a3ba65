#include "ui/credits/form2.h"
#include "tests/credits/rollbyhand.h"

#include "ui/toolkit/commandbutton.h"
#include "ui/toolkit/picturebox.h"
#include "ui/toolkit/timer.h"
#include "ui/toolkit/twips.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>

class Form2Test : public QObject
{
    Q_OBJECT

private slots:
    // The timers muted, the test ticks the window by hand. The panels are text
    // and the pictures images. The hand-off hides the window and stops the
    // roll; hidden, the picture is neither drawn nor animated.
    void panelsAndTheHandOffAtTick221ThatLeavesTheWindowAtRest()
    {
        Form2 f;
        rollByHand(f, 0);
        const std::pair<QWidget *, QString> controls[] = {
            {f.Main(), QStringLiteral("Graphic \"Credits artwork\"")},
            {f.Original(), QStringLiteral("Graphic \"Credits artwork, still\"")},
            {f.Command1(), QStringLiteral("StaticText \"Shout Outs\"")},
            {f.Command2(), QStringLiteral("StaticText \"") + f.Command2()->text() + u'"'},
            {f.Command3(), QStringLiteral("StaticText \"") + f.Command3()->text() + u'"'},
        };
        for (const auto &[control, said] : controls) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control);
            const QString role = qAccessibleRoleString(iface->role());
            QCOMPARE(QStringLiteral("%1 \"%2\"").arg(role, iface->text(QAccessible::Name)), said);
            QVERIFY(!iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        }

        QSignalSpy due(&f, &Form2::handOffDue);
        QSignalSpy unloaded(&f, &Form2::unloaded);
        const QImage blank = f.Main()->surface().image();
        f.show();
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        f.Timer1_Timer();
        QVERIFY(f.Main()->surface().image() != blank);
        // The artwork looks the same with the focus on it.
        QVERIFY(f.Main()->hasFocus());
        QCOMPARE(f.Main()->grab().toImage(), f.Main()->surface().image());
        // The roll measures from the outer height, frame included, once it is known.
        rollByHand(f, 1);
        QCOMPARE(f.rollOuterHeight(), f.outerHeightTwips());
        QCOMPARE(f.Command1()->y(), Toolkit::twipsToPixels(f.outerHeightTwips() - 30));
        rollByHand(f, 219);
        QVERIFY(due.isEmpty() && f.isVisible());
        rollByHand(f, 1);
        QVERIFY(due.count() == 1 && !f.isVisible());
        const QList<bool> ticking = {f.Timer1()->isTicking(), f.Timer2()->isTicking(), f.Timer3()->isTicking()};
        QCOMPARE(ticking, (QList<bool>{false, false, false}));
        const QImage hidden = f.Main()->surface().image();
        f.Timer2_Timer();
        f.Timer1_Timer();
        QCOMPARE(f.Main()->surface().image(), hidden);

        QVERIFY(f.close());
        QCOMPARE(unloaded.count(), 1);
    }
};

QTEST_MAIN(Form2Test)
#include "form2_test.moc"
