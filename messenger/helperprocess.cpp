#include "helperprocess.h"

#include "helperprotocol.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <time.h>
#include <unistd.h>

namespace Tarnellbas {

namespace {

// write() that reports a closed pipe as EPIPE instead of a fatal SIGPIPE,
// without touching the program's own signal handling.
ssize_t writeWithoutSigpipe(int fd, const char *data, std::size_t size)
{
    sigset_t pipeOnly, old, pending;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    sigpending(&pending);
    const bool wasPending = sigismember(&pending, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &old);
    const ssize_t written = ::write(fd, data, size);
    const int error = errno;
    if (written < 0 && error == EPIPE && !wasPending) {
        const timespec none{0, 0};
        while (sigtimedwait(&pipeOnly, nullptr, &none) < 0 && errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    errno = error;
    return written;
}

} // namespace

FileDescriptor &FileDescriptor::operator=(FileDescriptor &&other) noexcept
{
    if (this != &other)
        reset(other.release());
    return *this;
}

int FileDescriptor::release()
{
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void FileDescriptor::reset(int fd)
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

bool HelperProcess::failed(std::string why)
{
    error_ = std::move(why);
    return false;
}

bool HelperProcess::start(const std::vector<std::string> &command, const std::vector<std::string> &environment)
{
    stop();
    if (command.empty())
        return failed("no command");
    int input[2], output[2];
    if (::pipe2(input, O_CLOEXEC) != 0)
        return failed(withErrno("pipe2", errno));
    FileDescriptor inputRead(input[0]), inputWrite(input[1]);
    if (::pipe2(output, O_CLOEXEC) != 0)
        return failed(withErrno("pipe2", errno));
    FileDescriptor outputRead(output[0]), outputWrite(output[1]);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inputRead.get(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outputWrite.get(), STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    // The helper starts with default signal handling whatever ours is.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGXFSZ);
    sigaddset(&defaults, SIGINT);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<std::string> strings(command);
    strings.insert(strings.end(), environment.begin(), environment.end());
    std::vector<char *> argv, envp;
    for (std::size_t i = 0; i < strings.size(); ++i)
        (i < command.size() ? argv : envp).push_back(strings[i].data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);

    pid_t pid = 0;
    const int spawnError = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (spawnError != 0)
        return failed(withErrno("posix_spawn " + command[0], spawnError));
    pid_ = pid;
    ++generation_;
    input_ = std::move(inputWrite);
    output_ = std::move(outputRead);
    ::fcntl(input_.get(), F_SETFL, ::fcntl(input_.get(), F_GETFL) | O_NONBLOCK);
    ::fcntl(output_.get(), F_SETFL, ::fcntl(output_.get(), F_GETFL) | O_NONBLOCK);
    received_.clear();
    error_.clear();
    return true;
}

HelperProcess::Ready HelperProcess::await(int fd, short events, Clock::time_point deadline, const WaitTurn &turn)
{
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            error_ = kTimedOut;
            return Ready::No;
        }
        const auto slice = turn ? std::min(left, kTurnInterval) : std::min(left, std::chrono::milliseconds(1 << 30));
        pollfd p{fd, events, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(slice.count()));
        if (ready > 0)
            return Ready::Yes;
        if (ready < 0 && errno != EINTR) {
            error_ = withErrno("poll", errno);
            return Ready::No;
        }
        if (turn) {
            // The turn may have stopped this process or started another in it.
            const unsigned before = generation_;
            if (!turn() || generation_ != before) {
                error_ = "the wait was given up";
                return Ready::GaveUp;
            }
        }
    }
}

bool HelperProcess::writeAll(std::string_view bytes, Clock::time_point deadline, const WaitTurn &turn)
{
    const unsigned started = generation_;
    while (!bytes.empty()) {
        if (!running() || generation_ != started)
            return failed("the helper is no longer running");
        const ssize_t written = writeWithoutSigpipe(input_.get(), bytes.data(), bytes.size());
        if (written > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(written));
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno == EAGAIN) {
            if (await(input_.get(), POLLOUT, deadline, turn) == Ready::Yes)
                continue;
            return false;
        }
        return failed(written < 0 ? withErrno("write", errno) : "write wrote nothing");
    }
    return true;
}

std::optional<std::string> HelperProcess::readLine(Clock::time_point deadline, const WaitTurn &turn)
{
    using HelperProtocol::kMaxLine;
    const unsigned started = generation_;
    const auto fail = [this](std::string why) {
        failed(std::move(why));
        return std::nullopt;
    };
    for (;;) {
        if (!running() || generation_ != started)
            return fail("the helper is no longer running");
        const auto newline = received_.find('\n');
        if (newline != std::string::npos && newline <= kMaxLine) {
            std::string line = received_.substr(0, newline);
            received_.erase(0, newline + 1);
            return line;
        }
        if (received_.size() > kMaxLine)
            return fail("a line longer than " + std::to_string(kMaxLine) + " bytes");
        char buffer[512];
        const ssize_t got = ::read(output_.get(), buffer, sizeof buffer);
        if (got > 0) {
            received_.append(buffer, static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno == EAGAIN) {
            if (await(output_.get(), POLLIN, deadline, turn) == Ready::Yes)
                continue;
            return std::nullopt;
        }
        return fail(got == 0 ? "the helper closed its output (it has ended)" : withErrno("read", errno));
    }
}

bool HelperProcess::hasEnded()
{
    if (!running() || ::waitpid(pid_, nullptr, WNOHANG) != pid_)
        return false;
    pid_ = 0;
    ++generation_;
    input_.reset();
    output_.reset();
    received_.clear();
    return true;
}

void HelperProcess::discardPending()
{
    received_.clear();
    if (!running())
        return;
    char buffer[512];
    while (::read(output_.get(), buffer, sizeof buffer) > 0) {
    }
}

void HelperProcess::stop(std::chrono::milliseconds grace)
{
    if (!running())
        return;
    const pid_t pid = pid_;
    pid_ = 0;
    ++generation_;
    // The end of its input tells the helper to finish.
    input_.reset();
    output_.reset();
    received_.clear();
    const auto deadline = Clock::now() + grace;
    for (;;) {
        const pid_t reaped = ::waitpid(pid, nullptr, WNOHANG);
        if (reaped == pid || (reaped < 0 && errno != EINTR))
            return;
        if (Clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ::kill(pid, SIGKILL);
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

} // namespace Tarnellbas
