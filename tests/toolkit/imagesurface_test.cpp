// The off-screen image surface: real pixels through Qt.
#include "fade/renderhtmlpreview.h"
#include "ui/toolkit/imagesurface.h"

#include <QRegularExpression>
#include <QTest>

#include <stdexcept>

using Toolkit::ImageSurface;

namespace {

constexpr Toolkit::ColorSetting kWhite = Toolkit::colorValueOf(255, 255, 255);

// Where ink of one colour landed; anti-aliased edges blend with the white background.
enum class Ink { Red, Blue, Dark };

QRect inkRect(const QImage &image, Ink ink)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            const int r = qRed(p), g = qGreen(p), b = qBlue(p);
            if (ink == Ink::Red ? r - std::max(g, b) > 100
                : ink == Ink::Blue ? b - std::max(r, g) > 100 : std::max({r, g, b}) < 128)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

QImage preview(const QString &html)
{
    ImageSurface surface(QSize(313, 40), kWhite);
    VarloFade::RenderHtmlPreview(surface, html.toStdU16String());
    return surface.image();
}

} // namespace

class TestImageSurface : public QObject
{
    Q_OBJECT

private slots:
    // An emoji is one character of its own width: the letter after it starts there.
    void tagColoursLandOnTheirLines_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<int>("ink");
        QTest::addColumn<int>("line"); // of 16 pixel rows
        QTest::addColumn<QString>("before"); // the text the ink must start after
        QTest::newRow("red first line") << "<Font Color=#FF0000>gjpH" << int(Ink::Red) << 0 << "";
        QTest::newRow("blue after a return") << "<Font Color=#0000FF>\rHHH" << int(Ink::Blue) << 1 << "";
        QTest::newRow("blue after an emoji") << "a\U0001F600<Font Color=#0000FF>H" << int(Ink::Blue) << 0 << "a\U0001F600";
    }
    void tagColoursLandOnTheirLines()
    {
        QFETCH(QString, html);
        QFETCH(int, ink);
        QFETCH(int, line);
        QFETCH(QString, before);
        ImageSurface surface(QSize(313, 25), kWhite);
        surface.setScaleMode(3);
        surface.setFontName(u"Arial");
        surface.setFontSize(10);
        const double width = surface.TextWidth(before.toStdU16String());
        QVERIFY2(before.size() < 2 || width > surface.TextWidth(u"a") + 2, qPrintable(QString::number(width)));
        const QRect box = inkRect(preview(html), Ink(ink));
        QVERIFY2(!box.isEmpty() && box.top() >= 16 * line && box.bottom() < 16 * (line + 1)
                     && box.left() >= int(2 + width) - 1,
                 qPrintable(QStringLiteral("rows %1 to %2, from %3").arg(box.top()).arg(box.bottom()).arg(box.left())));
    }

    void supAndSubShiftOnePixel()
    {
        const QRect plain = inkRect(preview(QStringLiteral("\rHIT")), Ink::Dark);
        QCOMPARE(inkRect(preview(QStringLiteral("<sup>\rHIT")), Ink::Dark), plain.translated(0, -1));
        QCOMPARE(inkRect(preview(QStringLiteral("<SUP><SUB>\rHIT")), Ink::Dark), plain.translated(0, 1));
    }

    void scaleModesConvertAndBadOnesAreRefused()
    {
        ImageSurface surface(QSize(313, 25), kWhite);
        QCOMPARE(surface.scaleWidth(), 4695.0); // twips from the start
        surface.setScaleMode(3);
        const double pixels = surface.TextWidth(u"Quorvex");
        QVERIFY(pixels > 0);
        surface.setScaleMode(ImageSurface::kScalePoints);
        QCOMPARE(surface.scaleHeight(), 25 * 0.75);
        QCOMPARE(surface.TextWidth(u"Quorvex"), pixels * 0.75);
        surface.setCurrentX(7.5);
        surface.Print(u"Q");
        QCOMPARE(surface.currentX(), 7.5 + surface.TextWidth(u"Q"));
        for (int bad : {0, 4, 8})
            QVERIFY_THROWS_EXCEPTION(std::invalid_argument, surface.setScaleMode(bad));
        QCOMPARE(surface.ScaleMode(), ImageSurface::kScalePoints);
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, surface.setFontSize(qQNaN()));
    }

    void anEmptySurfaceDrawsNothingQuietly()
    {
        ImageSurface surface;
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        VarloFade::RenderHtmlPreview(surface, u"<b>text\rmore");
        surface.fillRect(0, 0, 100, 100, kWhite);
        QVERIFY(surface.image().isNull());
        surface.resize(QSize(4, 4));
        QCOMPARE(QColor(surface.image().pixel(3, 3)), Toolkit::resolveColor(Toolkit::systemColor(15)));
    }
};

QTEST_MAIN(TestImageSurface)
#include "imagesurface_test.moc"
