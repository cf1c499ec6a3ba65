#include "winebridgewindowsystem.h"

#include "helperprotocol.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <thread>
#include <unistd.h>
#include <utility>

extern char **environ;

namespace Tarnellbas {

using namespace HelperProtocol;

struct WineBridgeWindowSystem::Helper
{
    WineSession session;
    HelperProcess process;
    unsigned generation = 0;   // counts the stops, so a wait can tell its helper has gone
    bool starting = false;     // waiting for the greeting
    bool writing = false;      // a request is half written further down the stack
    RequestId lastId = 0;
    std::map<RequestId, std::optional<std::optional<WindowHandle>>> waiting; // answered or not yet
    std::optional<Clock::time_point> quietUntil;
    bool quietSaid = false;    // the quiet time is said once, not at every step it refuses
};

namespace {

// The helper's environment: ours, in the session's prefix and with its Wine.
std::vector<std::string> helperEnvironment(const WineSession &session)
{
    std::map<std::string, std::string> set{{"WINEPREFIX", session.prefix.string()},
                                           {"WINELOADER", session.loader.string()}};
    if (!session.tmpDir.empty())
        set["TMPDIR"] = session.tmpDir.string();
    std::vector<std::string> environment;
    bool debugChosen = false;
    for (char **entry = environ; *entry; ++entry) {
        const std::string variable(*entry);
        const std::string name = variable.substr(0, variable.find('='));
        debugChosen = debugChosen || name == "WINEDEBUG";
        if (!set.count(name))
            environment.push_back(variable);
    }
    // Wine's diagnostics would only slow the helper down.
    if (!debugChosen)
        set["WINEDEBUG"] = "-all";
    for (const auto &[name, value] : set)
        environment.push_back(name + '=' + value);
    return environment;
}

// Why a read or write failed, with the limit when it was the time.
std::string reason(const HelperProcess &process, std::chrono::milliseconds limit)
{
    if (process.error() == HelperProcess::kTimedOut)
        return process.error() + " after " + std::to_string(limit.count()) + " ms";
    return process.error();
}

} // namespace

WineBridgeWindowSystem::WineBridgeWindowSystem(std::string helperExe, SessionList sessions,
                                               HelperTimeouts timeouts, WaitTurn turn)
    : helperExe_(std::move(helperExe)), sessions_(std::move(sessions)), timeouts_(timeouts), turn_(std::move(turn))
{
}

WineBridgeWindowSystem::~WineBridgeWindowSystem()
{
    for (const auto &helper : helpers_)
        stop(*helper);
}

std::vector<pid_t> WineBridgeWindowSystem::helperProcesses() const
{
    std::vector<pid_t> pids;
    for (const auto &helper : helpers_)
        if (helper->process.running())
            pids.push_back(helper->process.pid());
    return pids;
}

void WineBridgeWindowSystem::refreshSessions()
{
    const auto now = Clock::now();
    if (ending_ || (scannedAt_ && now - *scannedAt_ < timeouts_.rescan))
        return;
    scannedAt_ = now;
    std::vector<WineSession> sessions;
    if (helperExe_.empty())
        diagnose("no Wine helper to start: Wine sessions are not looked for");
    else if (sessions_)
        sessions = sessions_();
    if (!helperExe_.empty() && sessions.empty())
        diagnose("no running Wine session: no IM window can be open");

    // A helper stays while its session runs on with the same wineserver.
    std::vector<std::shared_ptr<Helper>> helpers;
    for (const WineSession &session : sessions) {
        std::shared_ptr<Helper> helper;
        for (auto &known : helpers_)
            if (known && known->session.prefix == session.prefix && known->session.server == session.server
                && known->session.loader == session.loader)
                helper = std::move(known);
        if (!helper) {
            helper = std::make_shared<Helper>();
            helper->session = session;
        }
        helpers.push_back(std::move(helper));
    }
    for (const auto &gone : helpers_)
        if (gone)
            stop(*gone);
    helpers_ = std::move(helpers);
    if (current_ && std::find(helpers_.begin(), helpers_.end(), current_) == helpers_.end())
        current_.reset();
}

WindowHandle WineBridgeWindowSystem::findWindow(const std::string &className)
{
    if (!isSendableClassName(className))
        return 0;
    refreshSessions();
    // Copied: a turn during a wait may change the list.
    const auto helpers = helpers_;
    for (const auto &helper : helpers) {
        const WindowHandle found =
            exchange(helper, "FindWindowA \"" + className + '"',
                     [&](RequestId id) { return findWindowRequest(id, className); }, timeouts_.answer)
                .value_or(0);
        if (found != 0) {
            current_ = helper;
            return found;
        }
    }
    // Nothing found: later look-ups from the top go to the first session.
    current_ = helpers.empty() ? nullptr : helpers.front();
    return 0;
}

WindowHandle WineBridgeWindowSystem::findChildWindow(WindowHandle parent, WindowHandle childAfter,
                                                     const std::string &className)
{
    if (!current_ || !isSendableClassName(className))
        return 0;
    return exchange(
               current_, "FindWindowExA \"" + className + '"',
               [&](RequestId id) { return findChildRequest(id, parent, childAfter, className); },
               timeouts_.answer)
        .value_or(0);
}

WindowHandle WineBridgeWindowSystem::nextWindow(WindowHandle window)
{
    if (!current_ || window == 0)
        return 0;
    return exchange(current_, "GetWindow", [&](RequestId id) { return nextWindowRequest(id, window); },
                    timeouts_.answer)
        .value_or(0);
}

void WineBridgeWindowSystem::setWindowText(WindowHandle window, const std::u16string &text)
{
    if (!current_ || window == 0)
        return;
    if (text.size() > kMaxTextUnits) {
        tell(*current_, "WM_SETTEXT not sent: the text has " + std::to_string(text.size())
                            + " UTF-16 units, the helper takes at most " + std::to_string(kMaxTextUnits));
        return;
    }
    exchange(current_, "WM_SETTEXT", [&](RequestId id) { return setTextRequest(id, window, text); },
             timeouts_.setText);
}

void WineBridgeWindowSystem::postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                         std::intptr_t lParam)
{
    if (!current_ || window == 0)
        return;
    exchange(current_, "PostMessageA " + std::to_string(message),
             [&](RequestId id) { return postRequest(id, window, message, wParam, lParam); }, timeouts_.answer);
}

void WineBridgeWindowSystem::sleep(std::uint32_t milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

WaitTurn WineBridgeWindowSystem::turnFor(const std::shared_ptr<Helper> &helper, unsigned generation,
                                         std::optional<RequestId> id)
{
    if (!turn_)
        return {};
    return [this, helper, generation, id] {
        // A send run in the turn looks for its own IM window; this one's
        // look-ups go on in the session where it found its own.
        const std::shared_ptr<Helper> current = current_;
        bool goOn = true;
        try {
            goOn = turn_();
        } catch (...) {
        }
        if (std::find(helpers_.begin(), helpers_.end(), current) != helpers_.end())
            current_ = current;
        if (!goOn && !ending_) {
            // The program is ending: no helper waits or starts any more.
            ending_ = true;
            for (const auto &each : helpers_)
                stop(*each);
            stop(*helper);
        }
        // A send run in the turn may have read this request's answer already.
        const bool answered = id && helper->waiting.count(*id) && helper->waiting[*id];
        return goOn && helper->generation == generation && !answered;
    };
}

std::optional<WindowHandle> WineBridgeWindowSystem::exchange(const std::shared_ptr<Helper> &helper,
                                                             const std::string &what, const Request &request,
                                                             std::chrono::milliseconds timeout)
{
    if (ending_ || !ensureRunning(helper))
        return std::nullopt;
    // A request cannot go in the middle of another one's bytes, and the one
    // further down the stack cannot go on until this one returns: a send
    // started in an event turn while a long text is being written gets
    // nothing from this session.
    if (helper->writing) {
        tell(*helper, what + " refused: the helper is still taking an earlier send's text");
        return std::nullopt;
    }
    const unsigned generation = helper->generation;
    const auto deadline = Clock::now() + timeout;

    // Anything the helper wrote that no request waits for is stale.
    if (helper->waiting.empty())
        helper->process.discardPending();
    const RequestId id = ++helper->lastId;
    helper->waiting[id];
    helper->writing = true;
    const bool written = helper->process.writeAll(request(id), deadline, turnFor(helper, generation));
    if (helper->generation != generation)
        return std::nullopt;
    helper->writing = false;
    if (!written) {
        fail(*helper, generation, what + " could not be written (" + reason(helper->process, timeout) + ")");
        return std::nullopt;
    }

    // Answers come in order; one for a request further down the stack is
    // kept for it, one for no request is dropped.
    while (!helper->waiting[id]) {
        const auto line = helper->process.readLine(deadline, turnFor(helper, generation, id));
        if (helper->generation != generation)
            return std::nullopt;
        if (!line && helper->waiting[id])
            break;
        const auto answer = line ? parseAnswer(*line) : std::nullopt;
        if (!answer) {
            fail(*helper, generation,
                 !line ? "no answer to " + what + " (" + reason(helper->process, timeout) + ")"
                       : "an answer to " + what + " that is none: \"" + line->substr(0, 80) + '"');
            return std::nullopt;
        }
        if (const auto it = helper->waiting.find(answer->id); it != helper->waiting.end() && !it->second)
            it->second = answer->value;
    }
    const std::optional<WindowHandle> value = *helper->waiting[id];
    helper->waiting.erase(id);
    if (!value)
        tell(*helper, what + " refused by the helper");
    return value;
}

bool WineBridgeWindowSystem::ensureRunning(const std::shared_ptr<Helper> &helper)
{
    // One that ended between sends is replaced at once.
    if (!helper->starting && helper->waiting.empty() && helper->process.hasEnded())
        stop(*helper);
    if (helper->process.running())
        return !helper->starting;
    if (helper->quietUntil && Clock::now() < *helper->quietUntil) {
        if (!std::exchange(helper->quietSaid, true))
            tell(*helper, "no helper starts for the next "
                              + std::to_string(std::chrono::ceil<std::chrono::milliseconds>(*helper->quietUntil
                                                                                           - Clock::now())
                                                   .count())
                              + " ms, after its failure: the rest of this send does nothing there");
        return false;
    }
    const WineSession &session = helper->session;
    helper->quietUntil.reset();
    if (!helper->process.start({session.loader.string(), helperExe_}, helperEnvironment(session))) {
        tell(*helper, "the helper could not be started with " + session.loader.string() + " ("
                          + helper->process.error() + ")");
        helper->quietUntil = Clock::now() + timeouts_.restart;
        helper->quietSaid = false;
        return false;
    }
    const unsigned generation = helper->generation;
    helper->starting = true;
    const auto greeting =
        helper->process.readLine(Clock::now() + timeouts_.start, turnFor(helper, generation));
    if (helper->generation != generation)
        return false;
    helper->starting = false;
    if (!greeting || *greeting != kGreeting) {
        fail(*helper, generation,
             !greeting ? "the helper did not greet (" + reason(helper->process, timeouts_.start) + ")"
                       : "the helper greeted with \"" + greeting->substr(0, 80) + "\", not \"" + kGreeting + '"');
        return false;
    }
    return true;
}

void WineBridgeWindowSystem::fail(Helper &helper, unsigned generation, const std::string &why)
{
    if (helper.generation != generation)
        return;
    tell(helper, why + "; the helper is stopped");
    stop(helper);
    helper.quietUntil = Clock::now() + timeouts_.restart;
    helper.quietSaid = false;
}

void WineBridgeWindowSystem::tell(const Helper &helper, const std::string &what) const
{
    diagnose("Wine session " + helper.session.prefix.string() + ": " + what);
}

void WineBridgeWindowSystem::stop(Helper &helper)
{
    helper.process.stop(timeouts_.stopGrace);
    ++helper.generation;
    helper.starting = helper.writing = false;
    helper.waiting.clear();
}

} // namespace Tarnellbas
