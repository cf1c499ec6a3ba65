#include "errorreport.h"

#include <QApplication>
#include <QMessageBox>

QString errorReportText(const QString &error)
{
    return QStringLiteral("Run-time error:\n\n%1").arg(error);
}

void showErrorReport(const QString &error)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Quorvex Aim Fader"), errorReportText(error),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}
