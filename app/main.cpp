#include "errorreport.h"
#include "startup.h"

#include "ui/toolkit/eventhandler.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvex Aim Fader"));
    Toolkit::setErrorReport(showErrorReport);
    const std::unique_ptr<QWidget> window = openStartWindow();
    return app.exec();
}
