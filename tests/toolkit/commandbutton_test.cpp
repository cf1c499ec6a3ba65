// A graphical command button keeps its face colour with the keyboard focus on
// it, and its caption reads on any face: the contrast rule, then the pixels.
#include "ui/toolkit/captioncolor.h"
#include "ui/toolkit/commandbutton.h"

#include <QTest>

using Toolkit::ColorSetting;

class CommandButtonTest : public QObject
{
    Q_OBJECT

private slots:
    void caption_data()
    {
        QTest::addColumn<QColor>("wanted");
        QTest::addColumn<QColor>("face");
        QTest::addColumn<QColor>("drawn");
        const QColor black(Qt::black), white(Qt::white);
        QTest::newRow("classic scheme: black on a white face stays") << black << white << black;
        QTest::newRow("Wine's scheme: black on a black face turns white") << black << black << white;
        QTest::newRow("white on white turns black") << white << white << black;
        QTest::newRow("black on mid grey reads, stays") << black << QColor(0x80, 0x80, 0x80) << black;
        QTest::newRow("black on dark grey turns white") << black << QColor(0x40, 0x40, 0x40) << white;
        QTest::newRow("a chosen colour that reads stays") << QColor(Qt::red) << white << QColor(Qt::red);
    }
    void caption()
    {
        QFETCH(QColor, wanted);
        QFETCH(QColor, face);
        QTEST(Toolkit::readableCaptionColor(wanted, face), "drawn");
    }

    void focusIsADottedFrameOnTheFace_data()
    {
        QTest::addColumn<ColorSetting>("back");
        QTest::newRow("white") << Toolkit::colorValueOf(255, 255, 255);
        QTest::newRow("caption text system colour") << Toolkit::kSysCaptionText;
        QTest::newRow("black") << Toolkit::colorValueOf(0, 0, 0);
    }
    void focusIsADottedFrameOnTheFace()
    {
        QFETCH(ColorSetting, back);
        QWidget window;
        window.resize(200, 100);
        auto *button = new Toolkit::CommandButton(QStringLiteral("Fade"), &window);
        button->setGeometry(10, 10, 97, 33); // "Fade" of the fader window
        button->setBackColor(back);
        window.show();
        button->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(button->hasFocus());
        const QImage face = button->grab().toImage();
        const QColor colour = Toolkit::resolveColor(back);

        // Between the bevel and the frame, and inside the frame above the caption.
        for (int y : {3, 5, 6})
            for (int x = 8; x < face.width() - 8; ++x)
                QCOMPARE(QColor(face.pixel(x, y)), colour);
        // The frame itself: every other pixel of its top row is turned over.
        int dots = 0;
        for (int x = 4; x < face.width() - 4; ++x)
            dots += QColor(face.pixel(x, 4)) != colour;
        QVERIFY2(qAbs(dots - (face.width() - 8) / 2) <= 1, qPrintable(QString::number(dots)));
        int readable = 0; // caption pixels inside the frame that stand out from the face
        for (int y = 7; y < face.height() - 7; ++y)
            for (int x = 7; x < face.width() - 7; ++x)
                readable += Toolkit::contrastRatio(face.pixelColor(x, y), colour) >= 3.0;
        QVERIFY2(readable > 40, qPrintable(QString::number(readable)));

        button->clearFocus();
        QTRY_VERIFY(!button->hasFocus());
        const QImage unfocused = button->grab().toImage();
        for (int x = 4; x < face.width() - 4; ++x)
            QCOMPARE(QColor(unfocused.pixel(x, 4)), colour);
    }
};

QTEST_MAIN(CommandButtonTest)
#include "commandbutton_test.moc"
