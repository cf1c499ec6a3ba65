#pragma once

#include "messenger/windowsystem.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace Tarnellbas {

// A file descriptor that closes itself.
class FileDescriptor
{
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(FileDescriptor &&other) noexcept : fd_(other.release()) {}
    FileDescriptor &operator=(FileDescriptor &&other) noexcept;
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int release();
    void reset(int fd = -1);

private:
    int fd_ = -1;
};

// A child process spoken to through its standard input and output: started,
// written to, read line by line before a deadline, stopped. Waits hand the
// caller an event turn at least every kTurnInterval; a turn may call back into
// this object, so every wait checks afterwards that the process is still the
// one it began with.
class HelperProcess
{
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kTurnInterval{20};
    // error() of a wait whose deadline passed.
    static constexpr char kTimedOut[] = "timed out";

    HelperProcess() = default;
    ~HelperProcess() { stop(); }
    HelperProcess(const HelperProcess &) = delete;
    HelperProcess &operator=(const HelperProcess &) = delete;

    // Starts command[0] (looked up on PATH without a slash) with these
    // arguments and exactly this environment; its errors go to /dev/null.
    // Each false of start, writeAll and readLine leaves the reason in error().
    bool start(const std::vector<std::string> &command, const std::vector<std::string> &environment);
    bool running() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    // True, and then no longer running, when the process has ended by itself.
    bool hasEnded();

    // False when the deadline passes, the process ends or the turn gives up.
    bool writeAll(std::string_view bytes, Clock::time_point deadline, const WaitTurn &turn = {});
    // The next line without its newline; nothing on the same grounds, or for
    // a line longer than the protocol's longest (HelperProtocol::kMaxLine).
    std::optional<std::string> readLine(Clock::time_point deadline, const WaitTurn &turn = {});
    // Drops what the process has written so far and not yet been read.
    void discardPending();
    // Why the last start, write or read failed, in a few words.
    const std::string &error() const { return error_; }

    // Closes its input, which asks it to end, gives it `grace` to do so,
    // then kills it. Nothing happens when it is not running.
    void stop(std::chrono::milliseconds grace = std::chrono::milliseconds(0));

private:
    enum class Ready { Yes, No, GaveUp };
    Ready await(int fd, short events, Clock::time_point deadline, const WaitTurn &turn);
    bool failed(std::string why);

    pid_t pid_ = 0;
    unsigned generation_ = 0; // counts starts and stops
    FileDescriptor input_;
    FileDescriptor output_;
    std::string received_;
    std::string error_;
};

} // namespace Tarnellbas
