#include "winebridgewindowsystem.h"

#include "helperprotocol.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <time.h>
#include <unistd.h>

extern char **environ;

namespace Tarnellbas {

namespace {

using namespace HelperProtocol;

int millisecondsLeft(std::chrono::steady_clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() <= 0 ? 0 : static_cast<int>(std::min<long long>(left.count(), 1 << 30));
}

// Waits for the descriptor; false on time-out or error.
bool await(int fd, short events, std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        pollfd p{fd, events, 0};
        const int ready = ::poll(&p, 1, millisecondsLeft(deadline));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

// write() that reports a closed pipe as EPIPE instead of a fatal SIGPIPE,
// without touching the program's own signal handling.
ssize_t writeWithoutSigpipe(int fd, const char *data, std::size_t size)
{
    sigset_t pipeOnly, old;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    sigset_t pending;
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

WineBridgeWindowSystem::WineBridgeWindowSystem(std::vector<std::string> command, HelperTimeouts timeouts)
    : command_(std::move(command)), timeouts_(timeouts)
{
}

WineBridgeWindowSystem::~WineBridgeWindowSystem()
{
    stopHelper(true);
}

WindowHandle WineBridgeWindowSystem::findWindow(const std::string &className)
{
    if (!isSendableClassName(className))
        return 0;
    return exchange(findWindowRequest(className), timeouts_.answer).value_or(0);
}

WindowHandle WineBridgeWindowSystem::findChildWindow(WindowHandle parent, WindowHandle childAfter,
                                                     const std::string &className)
{
    if (!isSendableClassName(className))
        return 0;
    return exchange(findChildRequest(parent, childAfter, className), timeouts_.answer).value_or(0);
}

WindowHandle WineBridgeWindowSystem::nextWindow(WindowHandle window)
{
    if (window == 0)
        return 0;
    return exchange(nextWindowRequest(window), timeouts_.answer).value_or(0);
}

void WineBridgeWindowSystem::setWindowText(WindowHandle window, const std::u16string &text)
{
    if (window == 0 || text.size() > kMaxTextUnits)
        return;
    exchange(setTextRequest(window, text), timeouts_.setText);
}

void WineBridgeWindowSystem::postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                         std::intptr_t lParam)
{
    if (window == 0)
        return;
    exchange(postRequest(window, message, wParam, lParam), timeouts_.answer);
}

void WineBridgeWindowSystem::sleep(std::uint32_t milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::optional<WindowHandle> WineBridgeWindowSystem::exchange(const std::string &request,
                                                             std::chrono::milliseconds timeout)
{
    if (!ensureHelper())
        return std::nullopt;
    const auto deadline = Clock::now() + timeout;
    if (!writeAll(request, deadline)) {
        giveUp();
        return std::nullopt;
    }
    const auto line = readLine(deadline);
    if (!line) {
        giveUp();
        return std::nullopt;
    }
    // A refusal is an answer: the helper is still in step.
    return parseAnswer(*line);
}

bool WineBridgeWindowSystem::ensureHelper()
{
    if (pid_ != 0)
        return true;
    if (quietUntil_ && Clock::now() < *quietUntil_)
        return false;
    if (command_.empty() || !launch()) {
        quietUntil_ = Clock::now() + timeouts_.restart;
        return false;
    }
    const auto greeting = readLine(Clock::now() + timeouts_.start);
    if (!greeting || *greeting != kGreeting) {
        giveUp();
        return false;
    }
    return true;
}

bool WineBridgeWindowSystem::launch()
{
    int input[2], output[2];
    if (::pipe2(input, O_CLOEXEC) != 0)
        return false;
    if (::pipe2(output, O_CLOEXEC) != 0) {
        ::close(input[0]);
        ::close(input[1]);
        return false;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    // The helper starts with default signal handling whatever ours is.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGINT);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<char *> argv;
    for (auto &argument : command_)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    // Wine's diagnostics would only slow the helper down.
    std::vector<std::string> environment;
    bool quietWine = false;
    for (char **entry = environ; *entry; ++entry) {
        environment.emplace_back(*entry);
        quietWine = quietWine || std::strncmp(*entry, "WINEDEBUG=", 10) == 0;
    }
    if (!quietWine)
        environment.emplace_back("WINEDEBUG=-all");
    std::vector<char *> envp;
    for (auto &entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(input[0]);
    ::close(output[1]);
    if (failed != 0) {
        ::close(input[1]);
        ::close(output[0]);
        return false;
    }
    pid_ = pid;
    toHelper_ = input[1];
    fromHelper_ = output[0];
    ::fcntl(toHelper_, F_SETFL, ::fcntl(toHelper_, F_GETFL) | O_NONBLOCK);
    ::fcntl(fromHelper_, F_SETFL, ::fcntl(fromHelper_, F_GETFL) | O_NONBLOCK);
    received_.clear();
    return true;
}

bool WineBridgeWindowSystem::writeAll(const std::string &bytes, Clock::time_point deadline)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = writeWithoutSigpipe(toHelper_, bytes.data() + done, bytes.size() - done);
        if (written > 0) {
            done += static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno == EAGAIN && await(toHelper_, POLLOUT, deadline))
            continue;
        return false;
    }
    return true;
}

std::optional<std::string> WineBridgeWindowSystem::readLine(Clock::time_point deadline)
{
    for (;;) {
        const auto newline = received_.find('\n');
        if (newline != std::string::npos) {
            std::string line = received_.substr(0, newline);
            received_.erase(0, newline + 1);
            return line;
        }
        if (received_.size() > kMaxLine)
            return std::nullopt;
        char buffer[512];
        const ssize_t got = ::read(fromHelper_, buffer, sizeof buffer);
        if (got > 0) {
            received_.append(buffer, static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno == EAGAIN && await(fromHelper_, POLLIN, deadline))
            continue;
        return std::nullopt;
    }
}

void WineBridgeWindowSystem::giveUp()
{
    stopHelper(false);
    quietUntil_ = Clock::now() + timeouts_.restart;
}

void WineBridgeWindowSystem::stopHelper(bool gently)
{
    if (pid_ == 0)
        return;
    // The end of its input tells the helper to finish.
    ::close(toHelper_);
    ::close(fromHelper_);
    toHelper_ = fromHelper_ = -1;
    bool ended = false;
    if (gently) {
        const auto deadline = Clock::now() + std::chrono::seconds(2);
        while (!ended && Clock::now() < deadline) {
            const pid_t reaped = ::waitpid(pid_, nullptr, WNOHANG);
            ended = reaped == pid_ || (reaped < 0 && errno != EINTR);
            if (!ended)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    if (!ended) {
        ::kill(pid_, SIGKILL);
        while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    pid_ = 0;
    received_.clear();
}

} // namespace Tarnellbas
