#include "namedfile.h"

#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

#ifndef Q_OS_WIN
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Every byte written and flushed, or false with the reason. The last bytes
// leave the buffer only at the flush, and a write cut short by a full disk or
// a file-size limit must count as the failure it is.
bool writeWhole(QFileDevice &file, const QByteArray &bytes, QString *why)
{
    const qint64 written = file.write(bytes);
    if (written == bytes.size() && file.flush() && file.error() == QFileDevice::NoError)
        return true;
    *why = file.error() != QFileDevice::NoError
               ? file.errorString()
               : QStringLiteral("only %1 of %2 bytes could be written").arg(std::max<qint64>(written, 0)).arg(bytes.size());
    return false;
}

struct Target
{
    bool replace = true; // false: written in place
    int descriptor = -1; // in place through a descriptor this process holds
};

#ifdef Q_OS_WIN

// A device (NUL, CON, \\.\...) exists and is no file.
Target targetOf(const QString &path)
{
    const QFileInfo target(path);
    return {!target.exists() || target.isFile()};
}

#else

// Our own descriptor table, as /proc/self/fd and /proc/thread-self/fd resolve.
int ownDescriptor(const QByteArray &folder, const QByteArray &name)
{
    const QByteArray own = "/proc/" + QByteArray::number(::getpid());
    const bool ours = folder == own + "/fd"
                      || (folder.startsWith(own + "/task/") && folder.endsWith("/fd")
                          && folder.count('/') == 5);
    bool number = false;
    const int descriptor = name.toInt(&number);
    return ours && number && descriptor >= 0 ? descriptor : -1;
}

// Follows the path's links one at a time. Only a plain file at the end of
// ordinary links, or nothing at all (a new file), is replaced: a link in
// /proc (/dev/stdout leads to /proc/self/fd/1) names an open file, and
// replacing what it points at would destroy whatever else is being written
// there.
Target targetOf(const QString &path)
{
    QByteArray link = QFile::encodeName(path);
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status{};
        if (::lstat(link.constData(), &status) != 0)
            return {};
        if (S_ISREG(status.st_mode))
            return {};
        if (!S_ISLNK(status.st_mode))
            return {false};
        const qsizetype slash = link.lastIndexOf('/');
        const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : link.left(slash);
        char *resolved = ::realpath(folder.constData(), nullptr);
        if (!resolved)
            return {false};
        const QByteArray real(resolved);
        std::free(resolved);
        if (real.startsWith("/proc/"))
            return {false, ownDescriptor(real, link.mid(slash + 1))};
        char target[4096];
        const ssize_t size = ::readlink(link.constData(), target, sizeof target);
        if (size <= 0 || size == sizeof target)
            return {false};
        const QByteArray next(target, size);
        link = next.startsWith('/') ? next : real + '/' + next;
    }
    return {false}; // a loop: opening it says so
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool writeDescriptor(int descriptor, const QByteArray &bytes, QString *why)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written = ::write(descriptor, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (written > 0) {
            done += written;
        } else if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // A descriptor someone made non-blocking: wait until it takes more.
            pollfd ready{descriptor, POLLOUT, 0};
            ::poll(&ready, 1, -1);
        } else if (!(written < 0 && errno == EINTR)) {
            *why = written < 0 ? systemError(errno)
                               : QStringLiteral("only %1 of %2 bytes could be written").arg(done).arg(bytes.size());
            return false;
        }
    }
    return true;
}

// The owner and group of the replaced file, where the user may set them:
// root may give it back to its owner, others may keep a group they are in.
void keepOwner(const QSaveFile &file, const QString &path)
{
    struct stat old{};
    if (::stat(QFile::encodeName(path).constData(), &old) != 0)
        return;
    const int descriptor = file.handle();
    if (descriptor < 0 || (old.st_uid == ::geteuid() && old.st_gid == ::getegid()))
        return;
    if (::fchown(descriptor, old.st_uid, old.st_gid) != 0)
        (void)::fchown(descriptor, static_cast<uid_t>(-1), old.st_gid);
    // A change of owner drops set-id bits; the rest of the mode is the old file's.
    (void)::fchmod(descriptor, old.st_mode & 0777);
}

#endif

} // namespace

bool writeNamedFile(const QString &path, const QByteArray &bytes, QString *why)
{
    const Target target = targetOf(path);
#ifndef Q_OS_WIN
    if (target.descriptor >= 0)
        return writeDescriptor(target.descriptor, bytes, why);
    if (!target.replace) {
        // Appending: a file reached through another process's descriptor
        // keeps what is in it; a device or a FIFO does not mind.
        const int descriptor = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC);
        if (descriptor < 0) {
            *why = systemError(errno);
            return false;
        }
        const bool written = writeDescriptor(descriptor, bytes, why);
        if (::close(descriptor) != 0 && written) {
            *why = systemError(errno);
            return false;
        }
        return written;
    }
#else
    if (!target.replace) {
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly)) {
            *why = device.errorString();
            return false;
        }
        return writeWhole(device, bytes, why);
    }
#endif
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *why = file.errorString();
        return false;
    }
#ifndef Q_OS_WIN
    keepOwner(file, path);
#endif
    if (!writeWhole(file, bytes, why)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *why = file.errorString();
        return false;
    }
    return true;
}
