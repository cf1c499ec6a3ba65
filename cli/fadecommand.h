#pragma once

#include <QStringList>

#include <cstdio>

// Exit statuses of quorvex-fade.
enum FadeExit : int { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

// The command line as strings, or a message naming the argument that is not
// valid UTF-8 (on Windows the platform's own wide command line is used).
bool decodeArguments(int argc, char *argv[], QStringList *arguments, QString *error);

// Runs quorvex-fade on already decoded arguments (program name first);
// standard input is read only when no TEXT is given.
int runFadeCommand(const QStringList &arguments, std::FILE *in, std::FILE *out, std::FILE *err);
