#include "ui/credits/artwork/artworkgif.h"
#include "ui/credits/creditsroll.h"
#include "ui/credits/form2.h"

#include "ui/toolkit/colorsetting.h"
#include "ui/toolkit/commandbutton.h"
#include "ui/toolkit/picturebox.h"
#include "ui/toolkit/timer.h"
#include "ui/toolkit/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QImageReader>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <set>

using Toolkit::twipsRect;
using Toolkit::twipsToPixels;

namespace {

// A credits window whose timers are muted, so that tests tick it by hand, and
// whose fader window is a plain widget that counts its loads.
struct Rig
{
    int loads = 0;
    std::unique_ptr<Form2> form;

    explicit Rig(std::function<QWidget *()> makeFader = [] { return new QWidget; })
    {
        form = std::make_unique<Form2>([this, makeFader] {
            ++loads;
            return makeFader();
        });
        for (Toolkit::Timer *t : {form->Timer1(), form->Timer2(), form->Timer3()})
            t->blockSignals(true);
        form->seedRandom(2024);
    }

    void roll(int ticks)
    {
        for (int i = 0; i < ticks; ++i)
            form->Timer3_Timer();
    }

    // Shown, then rolled to the tick that hands over to the fader window.
    void handOff()
    {
        form->show();
        roll(221);
    }

    // Timer1, Timer2, Timer3: which are running.
    QList<bool> ticking() const
    {
        return {form->Timer1()->isTicking(), form->Timer2()->isTicking(), form->Timer3()->isTicking()};
    }
};

const QList<bool> kAllTicking = {true, true, true};

class StubbornFader : public QWidget
{
protected:
    void closeEvent(QCloseEvent *event) override { event->ignore(); }
};

} // namespace

class Form2Test : public QObject
{
    Q_OBJECT

private slots:
    void windowLayoutAndTimers();
    void controls_data();
    void controls();
    void artworkIsTheEmbeddedGif();
    void handsOffAtTick221AndStopsAtTheFloor();
    void closingTheFaderUnloadsEverything();
    void closingTheFaderInsideItsOwnHandler();
    void aRefusedCloseLeavesTheFaderUp();
    void closingTheCreditsWindowUnloadsIt();
    void namesPanelWrapsItsCaption();
    void animationRunsOnlyWhileVisible();
    void baseLevelStartsAtZeroAndStaysInRange();
};

void Form2Test::windowLayoutAndTimers()
{
    Rig rig;
    Form2 &f = *rig.form;
    QCOMPARE(f.windowTitle(), QStringLiteral("Quorvex Aim Fader"));
    QCOMPARE(f.size(), QSize(295, 200));
    QCOMPARE(f.minimumSize(), f.maximumSize());  // fixed border: not resizable
    QVERIFY(!(f.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(f.isLoaded());
    QCOMPARE(f.state().PreviousFactor, 1);
    QCOMPARE(f.state().RollPosition, float(f.outerHeightTwips()));
    QCOMPARE(f.loadedOuterHeight(), f.outerHeightTwips());

    QCOMPARE(f.Main()->geometry(), twipsRect(0, 0, 4455, 3015));
    QCOMPARE(f.Original()->geometry(), twipsRect(4440, 3000, 4455, 3015));
    QCOMPARE(f.Main()->backColor(), Toolkit::systemColor(7));
    QCOMPARE(f.Original()->backColor(), Toolkit::systemColor(7));

    // Bottom to top among the window's children.
    QList<QWidget *> order;
    for (QObject *child : f.children())
        if (auto *w = qobject_cast<QWidget *>(child))
            order.append(w);
    QCOMPARE(order, (QList<QWidget *>{f.Main(), f.Original(), f.Command1(), f.Command2(), f.Command3()}));

    // The timers tick from load.
    QCOMPARE(f.Timer1()->interval(), 30);
    QCOMPARE(f.Timer2()->interval(), 1);
    QCOMPARE(f.Timer3()->interval(), 1);
    QCOMPARE(rig.ticking(), kAllTicking);
}

void Form2Test::controls_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<qint32>("back");
    QTest::newRow("Command3") << 3 << twipsRect(240, 3000, 3975, 735)
                              << "     CREATER- MOSSGRAVE      CO-CREATER- tANGLEfERN" << "Arial Narrow" << 15.75
                              << true << Toolkit::systemColor(9);
    QTest::newRow("Command2") << 2 << twipsRect(0, 3840, 4455, 2895) << QString() << "MS Sans Serif"
                              << 13.5 << false << Toolkit::systemColor(9);
    QTest::newRow("Command1") << 1 << twipsRect(960, 3000, 2655, 495) << "Shout Outs" << "MS Sans Serif"
                              << 24.0 << false << qint32(0x00FFFFFF);
}

void Form2Test::controls()
{
    QFETCH(int, index);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(QString, family);
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(qint32, back);
    Rig rig;
    Toolkit::CommandButton *button =
        QList{rig.form->Command1(), rig.form->Command2(), rig.form->Command3()}[index - 1];
    QCOMPARE(button->geometry(), geometry);
    if (!caption.isEmpty())
        QCOMPARE(button->text(), caption);
    else
        QCOMPARE(button->text().size(), 141);
    QCOMPARE(button->font().families().value(0), family);
    QCOMPARE(button->font().pointSizeF(), points);
    QCOMPARE(button->font().bold(), bold);
    QVERIFY(!button->font().italic() && !button->font().underline() && !button->font().strikeOut());
    QCOMPARE(button->backColor(), back);
}

void Form2Test::artworkIsTheEmbeddedGif()
{
    // The file's bytes are checked where it is drawn; here, that the window
    // shows it and Qt decodes it to what the drawing program drew.
    const auto palette = Credits::Artwork::palette();
    const auto indices = Credits::Artwork::drawIndices();
    const QImage picture = QImageReader(QStringLiteral(":/credits/credits.gif"), "gif").read();
    QCOMPARE(picture.size(), QSize(294, 197));
    QVERIFY(!picture.hasAlphaChannel());
    Rig rig;
    QCOMPARE(rig.form->Original()->picture().convertToFormat(QImage::Format_RGB32),
             picture.convertToFormat(QImage::Format_RGB32));
    int wrong = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const auto c = palette[indices[std::size_t(y) * 294 + x]];
            wrong += picture.pixel(x, y) != qRgb(c.r, c.g, c.b);
        }
    QCOMPARE(wrong, 0);
}

void Form2Test::handsOffAtTick221AndStopsAtTheFloor()
{
    Rig rig;
    const double E = rig.form->outerHeightTwips();
    // Shown, the window may gain a frame it did not have at load; the roll
    // still lasts 221 ticks.
    rig.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.form.get()));
    qInfo("outer height %g twips at load, %g shown", E, rig.form->outerHeightTwips());

    rig.roll(220);
    QCOMPARE(rig.loads, 0);
    QVERIFY(rig.form->isVisible());
    QCOMPARE(rig.form->Command3()->y(), twipsToPixels(E - 3000));

    rig.form->Timer3_Timer();
    QCOMPARE(rig.loads, 1);
    QVERIFY(rig.form->fader()->isVisible());
    QVERIFY(!rig.form->isVisible());
    QVERIFY(rig.form->isLoaded());
    QCOMPARE(rig.form->Command1()->y(), twipsToPixels(E - 6630));
    QCOMPARE(rig.form->Command2()->y(), twipsToPixels(E - 5930));
    QCOMPARE(rig.form->Command3()->y(), twipsToPixels(E - 3030));
    QCOMPARE(rig.form->Command1()->x(), twipsToPixels(960));

    // Later ticks keep the fader window up without loading another, until the
    // roll rests far above the window.
    rig.roll(50);
    QCOMPARE(rig.loads, 1);
    QVERIFY(rig.form->fader()->isVisible());
    QVERIFY(!rig.form->isVisible());
    rig.roll(200000);
    QCOMPARE(rig.form->state().RollPosition, Credits::kRollFloor);
    QCOMPARE(rig.form->Command1()->y(), twipsToPixels(Credits::kRollFloor));
    QCOMPARE(rig.form->Command3()->y(), twipsToPixels(Credits::kRollFloor + 3600));
    QVERIFY(rig.form->Command3()->geometry().bottom() < 0);
    QCOMPARE(rig.loads, 1);
    QVERIFY(rig.form->fader()->isVisible());
}

void Form2Test::closingTheFaderUnloadsEverything()
{
    Rig rig;
    QSignalSpy unloaded(rig.form.get(), &Form2::unloaded);
    rig.handOff();
    QPointer<QWidget> fader = rig.form->fader();
    QVERIFY(fader);

    QVERIFY(fader->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(fader);
    QVERIFY(!fader->isVisible());
    QCOMPARE(unloaded.count(), 1);
    QVERIFY(!rig.form->isLoaded());
    QCOMPARE(rig.ticking(), (QList<bool>{false, false, false}));
    QVERIFY(!rig.form->isVisible());
    QCOMPARE(rig.loads, 1);
    // The closed fader window goes with the credits window.
    rig.form.reset();
    QVERIFY(!fader);
}

void Form2Test::closingTheFaderInsideItsOwnHandler()
{
    Rig rig;
    QSignalSpy unloaded(rig.form.get(), &Form2::unloaded);
    rig.handOff();
    QPointer<QWidget> fader = rig.form->fader();
    QVERIFY(fader && fader->isVisible());

    // A command of the fader window that lets pending events run, as Fade and
    // Send IM do; the user closes the window meanwhile. The window must outlive
    // the command that is still running on it.
    bool done = false, survived = false;
    QTimer::singleShot(0, fader, [&] {
        const QPointer<QWidget> self = fader;
        QTimer::singleShot(0, self, [self] { self->close(); });
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
        survived = self && !self->isVisible();
        done = true;
    });
    QTRY_VERIFY(done);
    QVERIFY(survived);
    QCOMPARE(unloaded.count(), 1);
    QVERIFY(!rig.form->isLoaded());
    QVERIFY(!rig.form->Timer3()->isTicking());
}

void Form2Test::aRefusedCloseLeavesTheFaderUp()
{
    Rig rig([] { return new StubbornFader; });
    QSignalSpy unloaded(rig.form.get(), &Form2::unloaded);
    rig.handOff();
    QWidget *fader = rig.form->fader();
    QVERIFY(fader && fader->isVisible());
    QVERIFY(!fader->close());
    QVERIFY(fader->isVisible());
    QCOMPARE(unloaded.count(), 0);
    QVERIFY(rig.form->isLoaded());
    QVERIFY(rig.form->Timer3()->isTicking());
}

void Form2Test::closingTheCreditsWindowUnloadsIt()
{
    Rig rig;
    rig.form->show();
    QSignalSpy unloaded(rig.form.get(), &Form2::unloaded);
    rig.roll(10);
    QVERIFY(rig.form->Timer3()->isTicking());
    QVERIFY(rig.form->close());
    QCOMPARE(unloaded.count(), 1);
    QVERIFY(!rig.form->Timer3()->isTicking());
    QCOMPARE(rig.loads, 0);
    rig.form->unload();  // a second unload changes nothing
    QCOMPARE(unloaded.count(), 1);
}

void Form2Test::namesPanelWrapsItsCaption()
{
    Rig rig;
    QVERIFY(rig.form->Command2()->wordWrap());
    // Bands of rows with ink in them: one per line of the caption.
    const QImage face = rig.form->Command2()->grab().toImage();
    const QRgb ink = Toolkit::resolveColor(Toolkit::systemColor(18)).rgb();
    int lines = 0;
    bool inLine = false;
    for (int y = 4; y < face.height() - 4; ++y) {
        bool inked = false;
        for (int x = 4; x < face.width() - 4 && !inked; ++x)
            inked = face.pixel(x, y) == ink;
        lines += inked && !inLine;
        inLine = inked;
    }
    QVERIFY2(lines >= 3, qPrintable(QStringLiteral("%1 lines").arg(lines)));
}

void Form2Test::animationRunsOnlyWhileVisible()
{
    Rig rig;
    Form2 &f = *rig.form;
    const QImage blank = f.Main()->image();
    // Loaded but not yet shown: nothing is drawn.
    f.Timer1_Timer();
    QCOMPARE(f.Main()->image(), blank);

    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(rig.ticking(), kAllTicking);
    f.Timer2_Timer();
    f.Timer1_Timer();
    const QImage drawn = f.Main()->image();
    QVERIFY(drawn != blank);
    // The strips show the artwork's own colours.
    std::set<QRgb> colours;
    for (int y = 0; y < drawn.height(); y += 3)
        for (int x = 0; x < drawn.width(); x += 3)
            colours.insert(drawn.pixel(x, y) & 0xFFFFFF);
    QVERIFY2(colours.size() > 40, qPrintable(QString::number(colours.size())));
    QCOMPARE(f.state().PreviousFactor, 1);

    rig.roll(221);  // hand-off hides the window
    QVERIFY(!f.isVisible());
    // The roll goes on, keeping the fader window up; the strips rest.
    QCOMPARE(rig.ticking(), (QList<bool>{false, false, true}));
    const QImage hidden = f.Main()->image();
    for (int i = 0; i < 5; ++i) {
        f.Timer2_Timer();
        f.Timer1_Timer();
    }
    QCOMPARE(f.Main()->image(), hidden);

    f.show();
    QCOMPARE(rig.ticking(), kAllTicking);
    f.unload();
    f.show();  // an unloaded window animates no more
    QVERIFY(!f.Timer1()->isTicking());
}

void Form2Test::baseLevelStartsAtZeroAndStaysInRange()
{
    Rig rig;
    QCOMPARE(rig.form->state().BaseLevel, 0);
    std::set<int> seen;
    for (int i = 0; i < 20000; ++i) {
        rig.form->Timer2_Timer();
        const int level = rig.form->state().BaseLevel;
        QVERIFY(level >= 0 && level <= 999);
        seen.insert(level);
    }
    QVERIFY(seen.size() > 900);
}

QTEST_MAIN(Form2Test)
#include "form2_test.moc"
