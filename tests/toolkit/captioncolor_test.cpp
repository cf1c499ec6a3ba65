#include "ui/toolkit/captioncolor.h"

#include <QTest>

using Toolkit::contrastRatio;
using Toolkit::readableCaptionColor;

class CaptionColorTest : public QObject
{
    Q_OBJECT

private slots:
    void ratio_data()
    {
        QTest::addColumn<QColor>("a");
        QTest::addColumn<QColor>("b");
        QTest::addColumn<double>("ratio");
        QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
        QTest::newRow("either way round") << QColor(Qt::white) << QColor(Qt::black) << 21.0;
        QTest::newRow("same colour") << QColor(0x80, 0x80, 0x80) << QColor(0x80, 0x80, 0x80) << 1.0;
        QTest::newRow("grey 808080 on black") << QColor(0x80, 0x80, 0x80) << QColor(Qt::black) << 5.317;
    }
    void ratio()
    {
        QFETCH(QColor, a);
        QFETCH(QColor, b);
        QFETCH(double, ratio);
        QVERIFY2(qAbs(contrastRatio(a, b) - ratio) < 0.001, qPrintable(QString::number(contrastRatio(a, b))));
    }

    void caption_data()
    {
        QTest::addColumn<QColor>("wanted");
        QTest::addColumn<QColor>("face");
        QTest::addColumn<QColor>("drawn");
        const QColor black(Qt::black), white(Qt::white);
        QTest::newRow("classic scheme: black on a white face stays") << black << white << black;
        QTest::newRow("Wine's scheme: black on a black face turns white") << black << black << white;
        QTest::newRow("white on white turns black") << white << white << black;
        QTest::newRow("black on navy turns white") << black << QColor(0, 0, 0x80) << white;
        QTest::newRow("black on mid grey reads, stays") << black << QColor(0x80, 0x80, 0x80) << black;
        QTest::newRow("black on dark grey turns white") << black << QColor(0x40, 0x40, 0x40) << white;
        QTest::newRow("white on yellow turns black") << white << QColor(Qt::yellow) << black;
        QTest::newRow("a chosen colour that reads stays") << QColor(Qt::red) << white << QColor(Qt::red);
    }
    void caption()
    {
        QFETCH(QColor, wanted);
        QFETCH(QColor, face);
        QTEST(readableCaptionColor(wanted, face), "drawn");
    }
};

QTEST_MAIN(CaptionColorTest)
#include "captioncolor_test.moc"
