// The real program on an X display, used as a user would: start it, find its
// window by caption, type a text, move a colour bar, click "Fade" with the
// pointer and look at the pixels of the screen. Runs on a virtual display
// (with-xvfb.sh).
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000))
        return QStringLiteral("<timed out>");
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QString xdotool(const QStringList &arguments) { return run(QStringLiteral("xdotool"), arguments); }

struct Geometry
{
    int x = -1, y = -1, width = -1, height = -1;
};

Geometry geometryOf(const QString &window)
{
    Geometry g;
    const QString shell = xdotool({"getwindowgeometry", "--shell", window});
    auto value = [&shell](const char *key) {
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^%1=(-?\\d+)$").arg(QLatin1String(key)),
                                                             QRegularExpression::MultilineOption)
                                              .match(shell);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    };
    g.x = value("X");
    g.y = value("Y");
    g.width = value("WIDTH");
    g.height = value("HEIGHT");
    return g;
}

bool isReddish(QColor c) { return c.red() > 150 && c.green() < 60 && c.blue() < 90; }
bool isBluish(QColor c) { return c.blue() > 170 && c.red() < 60 && c.green() < 60; }

} // namespace

class FaderEndToEndTest : public QObject
{
    Q_OBJECT

    QProcess program;
    QString window;

    void clickAt(int x, int y)
    {
        xdotool({"mousemove", "--sync", QString::number(x), QString::number(y)});
        xdotool({"click", "1"});
        QTest::qWait(150);
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QFAIL("no DISPLAY: run this test on a virtual display (with-xvfb.sh)");
        program.start(QStringLiteral(QUORVEX_AIM_FADER_BINARY), {});
        QVERIFY(program.waitForStarted());
        QElapsedTimer waited;
        waited.start();
        QString lastError;
        while (window.isEmpty() && waited.elapsed() < 20000) {
            if (program.state() != QProcess::Running)
                QFAIL(qPrintable(QStringLiteral("the program ended: ") + program.readAllStandardError()));
            QProcess search;
            search.start(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", "^Quorvex AimFader$"});
            if (!search.waitForFinished(5000))
                search.kill();
            window = QString::fromLocal8Bit(search.readAllStandardOutput()).trimmed().split(u'\n').first();
            lastError = QString::fromLocal8Bit(search.readAllStandardError());
            if (window.isEmpty())
                QTest::qWait(100);
        }
        QVERIFY2(!window.isEmpty(), qPrintable(QStringLiteral("no window; xdotool said: ") + lastError
                                               + QStringLiteral("; the program said: ") + program.readAllStandardError()));
        QTest::qWait(300);
    }

    void cleanupTestCase()
    {
        program.terminate();
        if (!program.waitForFinished(5000))
            program.kill();
    }

    void standsAtItsPlaceAndAsksToStayOnTop()
    {
        const Geometry g = geometryOf(window);
        // No window manager: the client area is the whole window.
        QCOMPARE(g.x, 100);
        QCOMPARE(g.y, 100);
        QCOMPARE(g.width, 486);
        QCOMPARE(g.height, 179);
        const QString state = run(QStringLiteral("xprop"), {"-id", window, "_NET_WM_STATE"});
        QVERIFY2(state.contains(QStringLiteral("_NET_WM_STATE_ABOVE")), qPrintable(state));
    }

    void typeMoveABarClickFadeAndSeeThePreview()
    {
        // Window-relative points, in pixels: Text1, red1, blue3, "Fade".
        const int left = 100, top = 100;
        xdotool({"windowfocus", "--sync", window});
        clickAt(left + 300, top + 57);
        xdotool({"key", "--clearmodifiers", "ctrl+a"});
        xdotool({"type", "--delay", "30", "Hello AIM, fading!"});
        clickAt(left + 40, top + 16);
        xdotool({"key", "End"});
        clickAt(left + 40, top + 160);
        xdotool({"key", "End"});
        QTest::qWait(200);
        clickAt(left + 216, top + 24);

        // Screenshots until the preview has painted, or give up after a while.
        const QString shotPath = QDir::current().absoluteFilePath(QStringLiteral("fader-screen.png"));
        QImage shot;
        int reddish = 0, bluish = 0, firstRed = 0, lastBlue = 0;
        const QRect preview(168, 144, 313, 25);
        for (int attempt = 0; attempt < 40 && (reddish <= 10 || bluish <= 10); ++attempt) {
            QTest::qWait(250);
            run(QStringLiteral("import"), {"-window", "root", shotPath});
            const QImage screen(shotPath);
            if (screen.isNull())
                continue;
            shot = screen.copy(left, top, 486, 179);
            reddish = bluish = 0;
            firstRed = preview.right();
            lastBlue = preview.left();
            for (int y = preview.top(); y <= preview.bottom(); ++y)
                for (int x = preview.left(); x <= preview.right(); ++x) {
                    const QColor c = shot.pixelColor(x, y);
                    if (isReddish(c)) {
                        ++reddish;
                        firstRed = std::min(firstRed, x);
                    }
                    if (isBluish(c)) {
                        ++bluish;
                        lastBlue = std::max(lastBlue, x);
                    }
                }
        }
        QVERIFY2(!shot.isNull(), "no screenshot");
        shot.save(QDir::current().absoluteFilePath(QStringLiteral("fader-window.png")));

        // The swatches took red and blue.
        QCOMPARE(shot.pixelColor(124, 32), QColor(255, 0, 0));
        QCOMPARE(shot.pixelColor(124, 144), QColor(0, 0, 255));

        // The preview: white, with red near the start of the line and blue at its end.
        QCOMPARE(shot.pixelColor(preview.right() - 3, preview.bottom() - 3), QColor(255, 255, 255));
        QVERIFY2(reddish > 10, qPrintable(QString::number(reddish)));
        QVERIFY2(bluish > 10, qPrintable(QString::number(bluish)));
        QVERIFY(firstRed < lastBlue);
        QVERIFY(firstRed < preview.left() + 20);
        // The typed line is twice as long as "Text Here", which ends near 60 pixels.
        QVERIFY2(lastBlue > preview.left() + 90, qPrintable(QString::number(lastBlue - preview.left())));
    }
};

QTEST_GUILESS_MAIN(FaderEndToEndTest)
#include "fader_e2e_test.moc"
