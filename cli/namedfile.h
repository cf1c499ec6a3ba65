#pragma once

#include <QByteArray>
#include <QString>

// Writes bytes to a file named on the command line; false with the reason
// when not every byte could be written.
//
// A plain file, or a new one, is written beside it and renamed over it only
// when complete: a failed write leaves an earlier file as it was. The new
// file keeps the mode of the one it replaces and, where the user may set them,
// its owner and group; other hard links to the old file keep the old content.
//
// Anything else is written in place and never replaced: a descriptor the
// program already holds (/dev/stdout, /dev/stderr, /dev/fd/N,
// /proc/self/fd/N) is written through, at its own offset and appending where
// it appends; a device or a FIFO is opened and written to.
bool writeNamedFile(const QString &path, const QByteArray &bytes, QString *why);
