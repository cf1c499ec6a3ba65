#pragma once

#include <QString>

// The top-level error report: a modal message naming an error that left an
// event handler. The program goes on running afterwards.
void showErrorReport(const QString &error);

// The text of that message.
QString errorReportText(const QString &error);
