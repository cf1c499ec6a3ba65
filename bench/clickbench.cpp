// Times a "Fade" click on the longest text the fade accepts (32,767
// characters, one line) until the window has painted, and the HTML box on its
// own with the 688,107-character line that click produces. Prints figures;
// runs on the offscreen platform unless a display is named. Also a key typed
// into that line.
#include "messenger/platformwindowsystem.h"
#include "ui/fader/form1.h"
#include "ui/toolkit/commandbutton.h"
#include "ui/toolkit/hscrollbar.h"
#include "ui/toolkit/multilinetextbox.h"
#include "ui/toolkit/textbox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPlainTextEdit>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Figures
{
    double first = 0, min = 0, median = 0, max = 0;
};

Figures measure(int runs, const std::function<void()> &prepare, const std::function<void()> &work)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    Figures f;
    f.first = ms.front();
    std::sort(ms.begin(), ms.end());
    f.min = ms.front();
    f.median = ms[ms.size() / 2];
    f.max = ms.back();
    return f;
}

void print(const char *what, const Figures &f)
{
    std::printf("%-64s first %7.1f ms  min %7.1f  median %7.1f  max %7.1f\n", what, f.first, f.min, f.median, f.max);
}

QString letters(int n)
{
    QString text(n, u'a');
    for (int i = 0; i < n; ++i)
        text[i] = QChar(u'a' + i % 26);
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    std::printf("platform %s, %d runs each\n", qPrintable(QGuiApplication::platformName()), runs);

    // Nothing is sent; the window only needs a way to AIM.
    const auto windows = Tarnellbas::makePlatformWindowSystem();
    Form1 form(*windows);
    form.show();
    QApplication::processEvents();
    form.findChild<Toolkit::HScrollBar *>(QStringLiteral("red1"))->setValue(255);
    form.findChild<Toolkit::HScrollBar *>(QStringLiteral("blue3"))->setValue(255);
    auto *text1 = form.findChild<Toolkit::TextBox *>(QStringLiteral("Text1"));
    auto *text2 = form.findChild<Toolkit::MultiLineTextBox *>(QStringLiteral("Text2"));
    auto *fade = form.findChild<Toolkit::CommandButton *>(QStringLiteral("Command1"));
    auto *wavy = form.findChild<Toolkit::CommandButton *>(QStringLiteral("Command5"));
    const QString longest = letters(32767);
    auto reset = [&] {
        text1->setText(longest);
        text2->setText(QStringLiteral("html code\r\n"));
        form.repaint();
    };

    print("\"Fade\" click, 32,767 chars, until painted",
          measure(runs, reset, [&] { fade->click(); form.repaint(); }));
    print("\"Fade Wavy\" click, 32,767 chars, until painted",
          measure(runs, reset, [&] { wavy->click(); form.repaint(); }));
    QString lines = longest;
    for (int i = 40; i + 1 < lines.size(); i += 42) {
        lines[i] = u'\r';
        lines[i + 1] = u'\n';
    }
    print("\"Fade\" click, 32,767 chars, CR LF every 42, until painted",
          measure(runs, [&] { reset(); text1->setText(lines); }, [&] { fade->click(); form.repaint(); }));
    print("  of which the click handler alone (\"Fade\")", measure(runs, reset, [&] { fade->click(); }));
    std::printf("  (HTML: %lld characters)\n", static_cast<long long>(text2->text().size()));

    const QString html = text2->text();
    print("HTML box: set the 688,107-char line and paint",
          measure(runs, [&] { text2->setText(QString()); text2->repaint(); },
                  [&] { text2->setText(html); text2->repaint(); }));

    // A key typed into that text, at the end, the start and the middle, until
    // the box has painted; the idle wrapping has finished before each key.
    text2->setText(html);
    while (!text2->wrapDone())
        QApplication::processEvents();
    for (const auto &[where, at] : {std::pair{"end", 1.0}, std::pair{"start", 0.0}, std::pair{"middle", 0.5}}) {
        const QString what = QStringLiteral("HTML box: a key typed at the %1 of the 688,107 chars, painted").arg(where);
        print(qPrintable(what), measure(runs,
                                        [&] {
                                            while (!text2->wrapDone())
                                                QApplication::processEvents();
                                            text2->setCursorPosition(qsizetype(at * text2->text().size()));
                                            text2->repaint();
                                        },
                                        [&] {
                                            QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
                                            QApplication::sendEvent(text2, &press);
                                            text2->repaint();
                                        }));
    }

    // For comparison: Qt's own wrapped plain-text edit with the same line.
    QPlainTextEdit plain;
    plain.setGeometry(text2->geometry());
    plain.setFont(text2->font());
    plain.show();
    QApplication::processEvents();
    print("QPlainTextEdit (comparison): set the same line and paint",
          measure(std::min(runs, 5), [&] { plain.setPlainText(QString()); plain.repaint(); },
                  [&] { plain.setPlainText(html); plain.repaint(); }));
    return 0;
}
