#include "startup.h"

#include "ui/credits/form2.h"
#include "ui/fader/form1.h"

#include <QCoreApplication>

std::unique_ptr<QWidget> openStartWindow(Tarnellbas::WindowSystem &windows)
{
    // The credits roll first and hand over to the fader window; once that is
    // closed the credits window unloads too, and with no window left the
    // program ends.
    auto credits = std::make_unique<Form2>([&windows] { return new Form1(windows); });
    QObject::connect(credits.get(), &Form2::unloaded, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    credits->show();
    return credits;
}
