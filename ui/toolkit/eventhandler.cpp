#include "eventhandler.h"

#include <QDebug>

#include <exception>

namespace Toolkit {

namespace {

ErrorReport &installedReport()
{
    static ErrorReport report;
    return report;
}

void report(const QString &error)
{
    if (const ErrorReport &r = installedReport())
        r(error);
    else
        qWarning().noquote() << "Run-time error:" << error;
}

} // namespace

void setErrorReport(ErrorReport report)
{
    installedReport() = std::move(report);
}

void runEventHandler(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const std::exception &error) {
        report(QString::fromUtf8(error.what()));
    } catch (...) {
        report(QStringLiteral("Unknown error"));
    }
}

} // namespace Toolkit
