#include "errorreport.h"
#include "startup.h"

#include "messenger/platformwindowsystem.h"
#include "ui/toolkit/eventhandler.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvex Aim Fader"));
    Toolkit::setErrorReport(showErrorReport);
    const std::unique_ptr<Tarnellbas::WindowSystem> windows = Tarnellbas::makePlatformWindowSystem();
    const std::unique_ptr<QWidget> window = openStartWindow(*windows);
    return app.exec();
}
