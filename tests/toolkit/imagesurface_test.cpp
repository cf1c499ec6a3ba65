// The off-screen surface of the picture box: real pixels through Qt.
#include "ink.h"

#include "fade/renderhtmlpreview.h"
#include "ui/toolkit/imagesurface.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTest>

#include <random>
#include <stdexcept>

using Toolkit::ImageSurface;

namespace {

constexpr Toolkit::ColorSetting kWhite = Toolkit::colorValueOf(255, 255, 255);
constexpr Toolkit::ColorSetting kRed = Toolkit::colorValueOf(255, 0, 0);

QImage preview(const QString &html, QSize size = QSize(313, 25))
{
    ImageSurface surface(size, kWhite);
    VarloFade::RenderHtmlPreview(surface, html.toStdU16String());
    return surface.image();
}

} // namespace

class TestImageSurface : public QObject
{
    Q_OBJECT

private slots:
    void arialIsMetricCompatible()
    {
        QFont arial(QStringLiteral("Arial"));
        QCOMPARE(QFontInfo(arial).family(), QStringLiteral("Liberation Sans"));
    }

    void tagColoursLandOnTheirLines_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<int>("ink");
        QTest::addColumn<int>("firstRow");
        QTest::addColumn<int>("lastRow");
        QTest::newRow("red first line") << "<Font Color=#FF0000>HHH" << int(Ink::Red) << 0 << 15;
        QTest::newRow("green lower case") << "<font color=#00ff00>gjpq" << int(Ink::Green) << 0 << 15;
        QTest::newRow("blue after a return") << "<Font Color=#0000FF>\rHHH" << int(Ink::Blue) << 16 << 31;
        QTest::newRow("blue after the marker") << "a+chr13+<Font Color=#0000FF>HHH" << int(Ink::Blue) << 16 << 31;
        QTest::newRow("short code") << "<font color=#f00>HHH" << int(Ink::Red) << 0 << 15;
    }
    void tagColoursLandOnTheirLines()
    {
        QFETCH(QString, html);
        QFETCH(int, ink);
        QFETCH(int, firstRow);
        QFETCH(int, lastRow);
        const QImage image = preview(html, QSize(313, 40));
        const QRect box = inkRect(image, Ink(ink));
        QVERIFY(!box.isEmpty());
        QVERIFY2(box.top() >= firstRow && box.bottom() <= lastRow,
                 qPrintable(QStringLiteral("rows %1 to %2").arg(box.top()).arg(box.bottom())));
        QVERIFY(box.left() >= 2 - 1); // left margin, less an anti-aliased edge
    }

    void colourChangesBetweenCharacters()
    {
        const QImage image = preview(QStringLiteral("<Font Color=#FF0000>H<Font Color=#0000FF>H"));
        const QRect red = inkRect(image, Ink::Red), blue = inkRect(image, Ink::Blue);
        QVERIFY(!red.isEmpty() && !blue.isEmpty());
        QVERIFY(red.right() < blue.left());
        QVERIFY(red.left() >= 1 && red.left() <= 4);
    }

    void supAndSubShiftOnePixel_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<int>("shift");
        QTest::newRow("sup") << "<sup>" << -1;
        QTest::newRow("sub") << "<sub>" << 1;
        QTest::newRow("SUP SUB do not add") << "<SUP><SUB>" << 1;
        QTest::newRow("closed") << "<sup></sub>" << 0;
    }
    void supAndSubShiftOnePixel()
    {
        QFETCH(QString, tag);
        QFETCH(int, shift);
        const QRect plain = inkRect(preview(QStringLiteral("\rHIT"), QSize(313, 40)), Ink::Dark);
        const QRect shifted = inkRect(preview(tag + QStringLiteral("\rHIT"), QSize(313, 40)), Ink::Dark);
        QCOMPARE(shifted, plain.translated(0, shift));
    }

    void emptyHtmlClearsToTheBackground()
    {
        ImageSurface surface(QSize(20, 20), kRed);
        surface.setScaleMode(ImageSurface::kScaleCentimetres);
        VarloFade::RenderHtmlPreview(surface, u"");
        QCOMPARE(surface.image().pixel(19, 19), QColor(Qt::red).rgb());
        QCOMPARE(surface.ScaleMode(), ImageSurface::kScaleCentimetres);
        QCOMPARE(surface.fontName(), QStringLiteral("Arial"));
        QCOMPARE(surface.fontSize(), 10.0);
        QVERIFY(surface.autoRedraw());
    }

    void scaleModesConvert_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("unitsPerPixel");
        QTest::newRow("twips") << 1 << 15.0;
        QTest::newRow("points") << 2 << 0.75;
        QTest::newRow("pixels") << 3 << 1.0;
        QTest::newRow("inches") << 5 << 1.0 / 96;
        QTest::newRow("millimetres") << 6 << 25.4 / 96;
    }
    void scaleModesConvert()
    {
        QFETCH(int, mode);
        QFETCH(double, unitsPerPixel);
        ImageSurface surface(QSize(313, 25), kWhite);
        surface.setFontName(u"Arial");
        surface.setFontSize(10);
        surface.setScaleMode(3);
        const double pixels = surface.TextWidth(u"Quorvex");
        QVERIFY(pixels > 0);
        surface.setScaleMode(mode);
        QCOMPARE(surface.scaleWidth(), 313 * unitsPerPixel);
        QCOMPARE(surface.scaleHeight(), 25 * unitsPerPixel);
        QCOMPARE(surface.TextWidth(u"Quorvex"), pixels * unitsPerPixel);
        surface.setCurrentX(10 * unitsPerPixel);
        surface.Print(u"Q");
        QCOMPARE(surface.currentX(), 10 * unitsPerPixel + surface.TextWidth(u"Q"));
    }

    void widthsFollowTheFont()
    {
        ImageSurface surface(QSize(10, 10));
        surface.setScaleMode(3);
        surface.setFontName(u"Arial");
        surface.setFontSize(10);
        const double regular = surface.TextWidth(u"m");
        QCOMPARE(regular, QFontMetricsF(surface.font(), &surface.image()).horizontalAdvance(u'm'));
        surface.setFontBold(true);
        const double bold = surface.TextWidth(u"m");
        QVERIFY(bold > regular);
        surface.setFontSize(20);
        QVERIFY(surface.TextWidth(u"m") > 1.5 * bold);
        surface.setFontBold(false);
        surface.setFontSize(10);
        QCOMPARE(surface.TextWidth(u"m"), regular);
        // Characters outside Latin-1 and whole strings are measured too.
        QVERIFY(surface.TextWidth(u"\u0416") > 0);
        QCOMPARE(surface.TextWidth(u"mm"), QFontMetricsF(surface.font(), &surface.image()).horizontalAdvance(QStringLiteral("mm")));
    }

    void twipsAreTheDefaultAndBadModesAreRefused()
    {
        ImageSurface surface(QSize(313, 25));
        QCOMPARE(surface.ScaleMode(), 1);
        QCOMPARE(surface.scaleWidth(), 4695.0);
        QCOMPARE(surface.scaleHeight(), 375.0);
        for (int bad : {0, 4, 8, -1}) {
            QVERIFY_THROWS_EXCEPTION(std::invalid_argument, surface.setScaleMode(bad));
            QCOMPARE(surface.ScaleMode(), 1);
        }
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, surface.setFontSize(0));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, surface.setFontSize(qQNaN()));
    }

    void randomHtmlRendersToTheEnd()
    {
        const QString pieces[] = {"<", ">", "\r", "\n", "+chr13+", "<font face=\"", "<font face=", "\"",
                                  "<Font Color=#", "ff", "<b>", "<i>", "<u>", "<s>", "</b>", "<sup>", "<sub>",
                                  "W", "g", QString(QChar(0)), QString(QChar(0xD83D)), QString(QChar(0xFFFF)),
                                  QString(QChar(0x0416)), "Courier", "  "};
        std::mt19937 random(7);
        std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1), length(0, 80);
        ImageSurface surface(QSize(60, 40), kWhite);
        surface.setScaleMode(ImageSurface::kScaleInches);
        for (int round = 0; round < 400; ++round) {
            QString html;
            for (std::size_t k = length(random); k > 0; --k)
                html += pieces[pick(random)];
            VarloFade::RenderHtmlPreview(surface, html.toStdU16String());
            QCOMPARE(surface.ScaleMode(), ImageSurface::kScaleInches);
            QCOMPARE(surface.image().size(), QSize(60, 40));
        }
    }

    void printSaysWhetherItPainted()
    {
        ImageSurface surface(QSize(30, 20), kWhite);
        surface.setScaleMode(3);
        surface.setCurrentX(200);
        QVERIFY(!surface.printOnImage(u"W"));
        QCOMPARE(surface.image(), ImageSurface(QSize(30, 20), kWhite).image());
        surface.setCurrentX(5);
        surface.setCurrentY(300);
        QVERIFY(!surface.printOnImage(u"W"));
        surface.setCurrentY(2);
        QVERIFY(surface.printOnImage(u"W"));
        QVERIFY(!inkRect(surface.image(), Ink::Dark).isEmpty());
    }

    void partlyVisibleCharactersArePainted_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("firstColumn");
        QTest::addColumn<int>("lastColumn");
        QTest::newRow("cut at the right") << 30.0 - 3 << 27 << 29;
        QTest::newRow("cut at the left") << -8.0 << 0 << 5;
    }
    void partlyVisibleCharactersArePainted()
    {
        QFETCH(double, x);
        QFETCH(int, firstColumn);
        QFETCH(int, lastColumn);
        ImageSurface surface(QSize(30, 20), kWhite);
        surface.setScaleMode(3);
        surface.setFontName(u"Arial");
        surface.setFontSize(10);
        surface.setCurrentX(x);
        surface.Print(u"W");
        const QRect box = inkRect(surface.image(), Ink::Dark);
        QVERIFY(!box.isEmpty());
        QVERIFY(box.left() >= firstColumn && box.right() <= lastColumn);
    }

    void longLinesAreCutAtTheEdge()
    {
        // What lies past the edge changes nothing in the picture.
        const QString visible = QStringLiteral("<Font Color=#0000FF>") + QString(40, u'W');
        const QImage shortLine = preview(visible);
        const QImage longLine = preview(visible + QString(2000, u'W') + QStringLiteral("\r\r\r\rx"));
        QCOMPARE(longLine, shortLine);
        QVERIFY(!inkRect(longLine, Ink::Blue).isEmpty());
    }

    void fillRectIncludesBothCorners_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QLineF>("corners");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("pixels") << 3 << QLineF(2, 3, 5, 7) << QRect(QPoint(2, 3), QPoint(5, 7));
        QTest::newRow("corners swapped") << 3 << QLineF(5, 7, 2, 3) << QRect(QPoint(2, 3), QPoint(5, 7));
        QTest::newRow("twips") << 1 << QLineF(30, 0, 60, 1500) << QRect(QPoint(2, 0), QPoint(4, 19));
        QTest::newRow("past the edge") << 3 << QLineF(-50, 18, 1e12, 40) << QRect(QPoint(0, 18), QPoint(19, 19));
    }
    void fillRectIncludesBothCorners()
    {
        QFETCH(int, mode);
        QFETCH(QLineF, corners);
        QFETCH(QRect, pixels);
        ImageSurface surface(QSize(20, 20), kWhite);
        surface.setScaleMode(mode);
        surface.fillRect(corners.x1(), corners.y1(), corners.x2(), corners.y2(), kRed);
        QCOMPARE(inkRect(surface.image(), Ink::Red), pixels);
        int count = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                count += surface.image().pixel(x, y) == QColor(Qt::red).rgb();
        QCOMPARE(count, pixels.width() * pixels.height());
    }

    void paintPictureStretchCopies_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<bool>("mirrored");
        QTest::newRow("straight") << 8.0 << false;
        QTest::newRow("mirrored") << -8.0 << true;
    }
    void paintPictureStretchCopies()
    {
        QFETCH(double, width);
        QFETCH(bool, mirrored);
        QImage picture(2, 1, QImage::Format_RGB32);
        picture.setPixel(0, 0, qRgb(255, 0, 0));
        picture.setPixel(1, 0, qRgb(0, 0, 255));
        ImageSurface surface(QSize(20, 10), kWhite);
        surface.setScaleMode(3);
        // A negative width draws leftwards from x.
        const double x = width < 0 ? 12 : 4;
        surface.PaintPicture(picture, x, 2, width, 4, 0, 0, 2, 1);
        const QRect red = inkRect(surface.image(), Ink::Red), blue = inkRect(surface.image(), Ink::Blue);
        QCOMPARE(red.size(), QSize(4, 4));
        QCOMPARE(blue.size(), QSize(4, 4));
        QCOMPARE(red.top(), 2);
        QCOMPARE(mirrored ? blue.left() : red.left(), 4);
        QCOMPARE(mirrored ? red.left() : blue.left(), 8);
        QCOMPARE(surface.image().pixel(3, 2), qRgb(255, 255, 255));
    }

    void paintPictureWorksInTwips()
    {
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::green);
        ImageSurface surface(QSize(20, 20), kWhite);
        // A 2x2 source stretched to 150 x 150 twips: 10 x 10 pixels at (1, 1).
        surface.PaintPicture(picture, 15, 15, 150, 150, 0, 0, 30, 30);
        QCOMPARE(inkRect(surface.image(), Ink::Green), QRect(1, 1, 10, 10));
    }

    void pictureShowsUnderTheDrawingAndAfterCls()
    {
        QImage picture(5, 5, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        ImageSurface surface(QSize(10, 10), kWhite);
        surface.setPicture(picture);
        QCOMPARE(inkRect(surface.image(), Ink::Blue), QRect(0, 0, 5, 5));
        surface.fillRect(0, 0, 150, 150, kRed);
        surface.Cls();
        QCOMPARE(inkRect(surface.image(), Ink::Blue), QRect(0, 0, 5, 5));
        QVERIFY(inkRect(surface.image(), Ink::Red).isEmpty());
    }

    void backColorReadsBackAsSet()
    {
        ImageSurface surface(QSize(4, 4));
        QCOMPARE(surface.backColor(), Toolkit::systemColor(15));
        QCOMPARE(QColor(surface.image().pixel(0, 0)), Toolkit::resolveColor(Toolkit::systemColor(15)));
        surface.setBackColor(Toolkit::kSysMenuText);
        QCOMPARE(surface.backColor(), Toolkit::ColorSetting(0x80000007u)); // kept as the setting
        QCOMPARE(QColor(surface.image().pixel(3, 3)), Toolkit::resolveColor(Toolkit::kSysMenuText));
    }

    void anEmptySurfaceDrawsNothingQuietly()
    {
        ImageSurface surface;
        QVERIFY(surface.image().isNull());
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        VarloFade::RenderHtmlPreview(surface, u"<b>text\rmore");
        surface.fillRect(0, 0, 100, 100, kRed);
        surface.PaintPicture(QImage(2, 2, QImage::Format_RGB32), 0, 0, 30, 30, 0, 0, 30, 30);
        QCOMPARE(surface.scaleWidth(), 0.0);
        surface.resize(QSize(4, 4));
        QCOMPARE(QColor(surface.image().pixel(3, 3)), Toolkit::resolveColor(Toolkit::systemColor(15)));
    }

    void resizeKeepsTheDrawing()
    {
        ImageSurface surface(QSize(10, 10), kWhite);
        surface.setScaleMode(3);
        surface.fillRect(0, 0, 9, 9, kRed);
        surface.resize(QSize(20, 5));
        QCOMPARE(inkRect(surface.image(), Ink::Red), QRect(0, 0, 10, 5));
        QCOMPARE(surface.image().pixel(15, 2), qRgb(255, 255, 255));
    }
};

QTEST_MAIN(TestImageSurface)
#include "imagesurface_test.moc"
