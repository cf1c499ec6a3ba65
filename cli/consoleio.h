#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <optional>

// "quorvex-fade: message" and a new line on err.
void say(std::FILE *err, const QString &message);

// Strict UTF-8: a byte sequence that is not UTF-8 is an error, never replaced.
std::optional<QString> decodeUtf8(const QByteArray &bytes);

// All of a stream, byte for byte (binary on Windows).
QByteArray readAll(std::FILE *in);

// Writes and flushes; false when any byte could not be written.
bool writeAll(std::FILE *out, const QByteArray &bytes);
