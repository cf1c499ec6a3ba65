// The picture box widget: what it shows is what it stored.
#include "ink.h"

#include "fade/renderhtmlpreview.h"
#include "ui/toolkit/picturebox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <QTimer>

using Toolkit::PictureBox;

namespace {

constexpr Toolkit::ColorSetting kWhite = Toolkit::colorValueOf(255, 255, 255);

VarloFade::EventTurn eventTurn()
{
    return [] { QCoreApplication::processEvents(); };
}

} // namespace

class TestPictureBox : public QObject
{
    Q_OBJECT

private slots:
    void startsInTwipsWithTheButtonFaceColour()
    {
        PictureBox box;
        box.resize(313, 25);
        QCOMPARE(box.ScaleMode(), 1);
        QCOMPARE(box.scaleWidth(), 4695.0);
        QCOMPARE(box.scaleHeight(), 375.0);
        QCOMPARE(box.backColor(), Toolkit::systemColor(15));
        box.setScaleMode(3);
        QCOMPARE(box.scaleWidth(), 313.0);
    }

    void backColorReadsBackExactly_data()
    {
        QTest::addColumn<int>("setting");
        QTest::newRow("white") << int(kWhite);
        QTest::newRow("system menu text") << int(Toolkit::kSysMenuText);
        QTest::newRow("system caption text") << int(Toolkit::kSysCaptionText);
        QTest::newRow("unknown system colour") << int(Toolkit::systemColor(99));
    }
    void backColorReadsBackExactly()
    {
        QFETCH(int, setting);
        PictureBox box;
        box.resize(8, 8);
        box.setBackColor(setting);
        QCOMPARE(box.backColor(), setting);
        QCOMPARE(QColor(box.image().pixel(7, 7)), Toolkit::resolveColor(setting));
    }

    void showsTheStoredDrawingAfterBeingCovered()
    {
        QWidget window;
        window.resize(320, 60);
        auto *box = new PictureBox(&window);
        box->setGeometry(0, 0, 313, 25);
        box->setBackColor(kWhite);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        VarloFade::RenderHtmlPreview(*box, u"<Font Color=#FF0000>Quorvex<Font Color=#0000FF>\r<sub>Fader", eventTurn());
        QVERIFY(!inkRect(box->image(), Ink::Red).isEmpty());
        QCOMPARE(box->grab().toImage().convertToFormat(QImage::Format_RGB32), box->image());

        // Another window over the box and away again: the box repaints from its image.
        QWidget cover(&window);
        cover.setAutoFillBackground(true);
        cover.setGeometry(0, 0, 320, 60);
        cover.show();
        QCoreApplication::processEvents();
        cover.hide();
        QCoreApplication::processEvents();
        QCOMPARE(box->grab().toImage().convertToFormat(QImage::Format_RGB32), box->image());
        QCOMPARE(box->ScaleMode(), 1);
        QCOMPARE(box->foreColor(), 0xFF0000);
        QVERIFY(box->autoRedraw());
    }

    void renderStartedFromAnEventTurnLeavesOnePicture()
    {
        PictureBox box, reference;
        for (PictureBox *each : {&box, &reference}) {
            each->resize(313, 40);
            each->setBackColor(kWhite);
        }
        const std::u16string outer = u"<Font Color=#FF0000>outer\rline", inner = u"<Font Color=#0000FF>inner\r\r";
        bool innerRan = false;
        // A second command arrives while the first is marking its line breaks.
        QTimer::singleShot(0, &box, [&] {
            innerRan = true;
            VarloFade::RenderHtmlPreview(box, inner, eventTurn());
        });
        VarloFade::RenderHtmlPreview(box, outer, eventTurn());
        QVERIFY(innerRan);
        VarloFade::RenderHtmlPreview(reference, outer);
        QCOMPARE(box.image(), reference.image());
        QVERIFY(inkRect(box.image(), Ink::Blue).isEmpty());
    }

    void offersTheCreditsOperations()
    {
        PictureBox box;
        box.resize(30, 20);
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(Qt::green);
        box.setPicture(picture);
        QCOMPARE(box.picture(), picture);
        box.setScaleMode(3);
        box.fillRect(0, 0, 29, 19, 0);
        box.PaintPicture(box.picture(), 10, 5, 9, 6, 0, 0, 3, 2);
        QCOMPARE(inkRect(box.image(), Ink::Green), QRect(10, 5, 9, 6));
        QCOMPARE(box.grab().toImage().convertToFormat(QImage::Format_RGB32), box.image());
    }
};

QTEST_MAIN(TestPictureBox)
#include "picturebox_test.moc"
