#include "errorreport.h"
#include "messengerlog.h"
#include "program.h"

#include "messenger/platformwindowsystem.h"
#include "ui/toolkit/eventhandler.h"

#include <QApplication>
#include <QEvent>

namespace {

// Notes that the program has been asked to end, so that a send waiting for
// AIM gives up rather than holding the program open.
class QuitWatch : public QObject
{
public:
    bool quitting = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == qApp && event->type() == QEvent::Quit)
            quitting = true;
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvex Aim Fader"));
    Toolkit::setErrorReport(showErrorReport);
    QuitWatch quitWatch;
    app.installEventFilter(&quitWatch);
    // While "Send IM" waits for a Wine helper the window goes on working.
    const std::unique_ptr<Tarnellbas::WindowSystem> windows = Tarnellbas::makePlatformWindowSystem(
        [&quitWatch] {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            return !quitWatch.quitting;
        },
        messengerLog());
    Program program(*windows);
    QObject::connect(&program, &Program::finished, &app, &QCoreApplication::quit);
    program.start();
    return app.exec();
}
