#include "errorreport.h"
#include "program.h"

#include "messenger/platformwindowsystem.h"
#include "ui/toolkit/eventhandler.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvex Aim Fader"));
    Toolkit::setErrorReport(showErrorReport);
    const std::unique_ptr<Tarnellbas::WindowSystem> windows = Tarnellbas::makePlatformWindowSystem();
    Program program(*windows);
    QObject::connect(&program, &Program::finished, &app, &QCoreApplication::quit);
    program.start();
    return app.exec();
}
