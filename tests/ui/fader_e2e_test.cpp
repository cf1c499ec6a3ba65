// The real program on a virtual X display (with-xvfb.sh), used as a user would:
// find its window by caption, type a text, move two colour bars, click "Fade"
// with the pointer and look at the pixels of the screen.
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTest>

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000))
        process.kill();
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

QString xdotool(const QStringList &arguments) { return run(QStringLiteral("xdotool"), arguments); }

} // namespace

class FaderEndToEndTest : public QObject
{
    Q_OBJECT

    QProcess program;
    QString window;

    void clickAt(int x, int y, const QStringList &then)
    {
        xdotool(QStringList{"mousemove", "--sync", QString::number(x), QString::number(y), "click", "1"} + then);
        QTest::qWait(150);
    }

private slots:
    void initTestCase()
    {
        program.start(QStringLiteral(QUORVEX_AIM_FADER_BINARY), {});
        QVERIFY(program.waitForStarted());
        for (int tries = 0; window.isEmpty() && tries < 200 && program.state() == QProcess::Running; ++tries) {
            window = xdotool({"search", "--onlyvisible", "--name", "^Quorvex AimFader$"}).section(u'\n', 0, 0);
            if (window.isEmpty())
                QTest::qWait(100);
        }
        QVERIFY2(!window.isEmpty(), qPrintable("no window; the program said: " + program.readAllStandardError()));
        QTest::qWait(300);
    }

    void cleanupTestCase()
    {
        program.terminate();
        program.waitForFinished(5000); // else killed as the test ends
    }

    void standsOnTopAtItsPlaceAndFadesWhatIsTyped()
    {
        // No window manager: the client area is the whole window.
        const QString geometry = xdotool({"getwindowgeometry", "--shell", window});
        for (const char *line : {"X=100", "Y=100", "WIDTH=486", "HEIGHT=179"})
            QVERIFY2(geometry.split(u'\n').contains(QLatin1String(line)), qPrintable(geometry));
        const QString state = run(QStringLiteral("xprop"), {"-id", window, "_NET_WM_STATE"});
        QVERIFY2(state.contains(QStringLiteral("_NET_WM_STATE_ABOVE")), qPrintable(state));

        // Screen points: Text1, red1, blue3, "Fade"; the window stands at (100, 100).
        xdotool({"windowfocus", "--sync", window});
        clickAt(400, 157, {"key", "--clearmodifiers", "ctrl+a", "type", "--delay", "30", "Hello AIM, fading!"});
        clickAt(140, 116, {"key", "End"});
        clickAt(140, 260, {"key", "End"});
        clickAt(316, 124, {});

        // Screenshots until the preview has painted, or give up after a while.
        const QString screenPath = QDir::current().absoluteFilePath(QStringLiteral("fader-screen.png"));
        const QRect preview(168, 144, 313, 25);
        QImage shot;
        int reddish = 0, bluish = 0, firstRed = 0, lastBlue = 0;
        for (int attempt = 0; attempt < 40 && (reddish <= 10 || bluish <= 10); ++attempt) {
            QTest::qWait(250);
            run(QStringLiteral("import"), {"-window", "root", screenPath});
            shot = QImage(screenPath).copy(100, 100, 486, 179);
            reddish = bluish = 0, firstRed = preview.right(), lastBlue = preview.left();
            for (int y = preview.top(); y <= preview.bottom(); ++y)
                for (int x = preview.left(); x <= preview.right(); ++x) {
                    const QColor c = shot.pixelColor(x, y);
                    if (c.red() > 150 && c.green() < 60 && c.blue() < 90)
                        ++reddish, firstRed = std::min(firstRed, x);
                    if (c.blue() > 170 && c.red() < 60 && c.green() < 60)
                        ++bluish, lastBlue = std::max(lastBlue, x);
                }
        }
        QVERIFY2(!shot.isNull(), "no screenshot");
        shot.save(QDir::current().absoluteFilePath(QStringLiteral("fader-window.png")));

        // The swatches took red and blue; the preview is white, red at the start of
        // the line and blue at its end, twice as far as "Text Here" would reach.
        QCOMPARE(shot.pixelColor(124, 32), QColor(255, 0, 0));
        QCOMPARE(shot.pixelColor(124, 144), QColor(0, 0, 255));
        QCOMPARE(shot.pixelColor(preview.right() - 3, preview.bottom() - 3), QColor(255, 255, 255));
        QVERIFY2(reddish > 10 && bluish > 10, qPrintable(QStringLiteral("%1 red, %2 blue").arg(reddish).arg(bluish)));
        QVERIFY(firstRed < preview.left() + 20);
        QVERIFY2(lastBlue > preview.left() + 90, qPrintable(QString::number(lastBlue - preview.left())));
    }
};

QTEST_GUILESS_MAIN(FaderEndToEndTest)
#include "fader_e2e_test.moc"
