// The Wine bridge against the stand-in helper (fakeimhelper): its protocol,
// its helper process, how it finds running sessions, and how it stays in step
// and keeps the program's event turns coming while it waits.
#include "messenger/helperprocess.h"
#include "messenger/helperprotocol.h"
#include "messenger/sendimtext.h"
#include "messenger/winebridgewindowsystem.h"
#include "messenger/winesessions.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <future>
#include <map>
#include <memory>
#include <set>
#include <thread>

#include <sys/stat.h>

using namespace Tarnellbas;
namespace fs = std::filesystem;
using std::chrono::milliseconds;
using namespace std::chrono_literals;

namespace {

std::string readFile(const fs::path &file)
{
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// What the stand-in helper logs for a text set and clicked into its IM window.
std::string delivered(const std::string &text)
{
    return "SetText 65568 " + text + "\nPost 65572 513 0 0\nPost 65572 514 0 0\n";
}

void writeFile(const fs::path &file, const std::string &content, bool executable = false)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    if (executable)
        fs::permissions(file, fs::perms::owner_all);
}

// Every path under a folder, to show that a look-up created nothing.
std::set<fs::path> tree(const fs::path &root)
{
    return std::set<fs::path>(fs::recursive_directory_iterator(root), {});
}

// A process-table entry as /proc shows one: its program, environment and
// command line (Wine puts the Windows program first).
void addProcess(const fs::path &table, int pid, const fs::path &exe, const std::vector<std::string> &environment,
                const std::string &commandLine = "C:\\Program Files\\AIM\\aim.exe")
{
    const fs::path folder = table / std::to_string(pid);
    fs::create_directories(folder);
    fs::create_symlink(exe, folder / "exe");
    writeFile(folder / "cmdline", commandLine + '\0');
    std::string environ;
    for (const std::string &variable : environment)
        environ += variable + '\0';
    writeFile(folder / "environ", environ);
}

class BridgeTest : public ::testing::Test
{
protected:
    QTemporaryDir directory;
    // A session whose "loader" is the stand-in helper; run with the bridge's
    // helper path `modes`, it reads its mode from modes/<prefix name> and
    // logs what it delivered to modes/log.
    fs::path modes = fs::path(directory.path().toStdString()) / "modes", log = modes / "log";
    WineSession session(const std::string &name, const std::string &mode)
    {
        writeFile(modes / name, mode + '\n');
        return {"/prefix/" + name, FAKE_IM_HELPER, {}, 1};
    }
    static constexpr HelperTimeouts quick{.start = 400ms, .answer = 400ms, .setText = 400ms, .restart = 100ms,
                                          .rescan = 0ms};
};

} // namespace

TEST(HelperProtocol, RequestsAndAnswersRoundTrip)
{
    using namespace HelperProtocol;
    const auto parsed = [](const std::string &line) {
        const auto r = parseRequest(line.substr(0, line.find('\n')));
        return !r ? std::string("refused")
                  : "kind " + std::to_string(int(r->kind)) + " #" + std::to_string(r->id) + " " + std::to_string(r->window)
                        + " " + std::to_string(r->childAfter) + " [" + r->className + "] " + std::to_string(r->textUnits)
                        + " " + std::to_string(r->message) + " " + std::to_string(r->wParam) + " " + std::to_string(r->lParam);
    };
    const std::pair<std::string, std::string> requests[] = {
        {findWindowRequest(7, "AIM_IMessage"), "kind 0 #7 0 0 [AIM_IMessage] 0 0 0 0"},
        {findChildRequest(8, 4294967295u, 12, "Edit x"), "kind 1 #8 4294967295 12 [Edit x] 0 0 0 0"},
        {nextWindowRequest(18446744073709551615u, 65552), "kind 2 #18446744073709551615 65552 0 [] 0 0 0 0"},
        {setTextRequest(10, 66, u"h\u20ac\n"), "kind 3 #10 66 0 [] 3 0 0 0"},
        {postRequest(11, 70, WmLButtonUp, 1, -5), "kind 4 #11 70 0 [] 0 514 1 -5"},
    };
    for (const auto &[line, expected] : requests)
        EXPECT_EQ(parsed(line), expected);
    for (const char *line : {"", "F", "F 1", "F x AIM", "X 1 2 AIM", "X 1 -2 3 AIM", "N 1 +4", "N 1 4294967296",
                             "T 1 5", "T 1 5 67108865", "P 1 2 3 4", "Q 1 2", "F  1 AIM", "N 1 2 "})
        EXPECT_EQ(parsed(line), "refused") << line;
    const std::string text = setTextRequest(1, 2, u"h\u20ac\n");
    EXPECT_EQ(fromUtf16Le(text.substr(text.find('\n') + 1)), u"h\u20ac\n");

    const auto answered = [](const std::string &line) {
        const auto a = parseAnswer(line.substr(0, line.find('\n')));
        return !a ? std::string("garbage") : "#" + std::to_string(a->id) + (a->value ? " " + std::to_string(*a->value) : " refused");
    };
    EXPECT_EQ(answered(answer(18446744073709551615u, 4294967295u)), "#18446744073709551615 4294967295");
    EXPECT_EQ(answered(refusal(parseRequestId("Q 42 whatever"))), "#42 refused");
    for (const char *line : {"", "?", "= 1", "= 1 ", "= x 2", "= 1 4294967296", "? x", "quorvex-im-helper 2", "=  1 2"})
        EXPECT_EQ(answered(line), "garbage") << line;
}

TEST(HelperProcess, TalksReadsLinesAndStops)
{
    HelperProcess process;
    EXPECT_FALSE(process.start({"/nonexistent/helper"}, {}));
    EXPECT_EQ(process.error(), "posix_spawn /nonexistent/helper: No such file or directory (errno 2)");
    EXPECT_FALSE(process.running());

    ASSERT_TRUE(process.start({"cat"}, {}));
    const auto in = [](milliseconds wait) { return HelperProcess::Clock::now() + wait; };
    const auto soon = in(2s);
    EXPECT_TRUE(process.writeAll("one\ntwo\n", soon));
    EXPECT_EQ(process.readLine(soon), "one");
    EXPECT_EQ(process.readLine(soon), "two");

    // Nothing more to read: the wait ends at its deadline, with turns on the way.
    int turns = 0;
    EXPECT_EQ(process.readLine(in(100ms), [&] { return ++turns > 0; }), std::nullopt);
    EXPECT_GE(turns, 2);
    // A turn that gives up, or stops the process itself, ends the wait at once.
    turns = 0;
    EXPECT_EQ(process.readLine(in(5s), [&] { return ++turns < 3; }), std::nullopt);
    EXPECT_EQ(turns, 3);
    const pid_t pid = process.pid();
    // Another started in its place is not read from.
    turns = 0;
    EXPECT_EQ(process.readLine(in(5s), [&] { process.stop(); return ++turns == 1 && process.start({"cat"}, {}); }),
              std::nullopt);
    EXPECT_EQ(turns, 1);
    process.stop();
    EXPECT_NE(::kill(pid, 0), 0) << "stopped and reaped";

    ASSERT_TRUE(process.start({"cat"}, {}));
    EXPECT_TRUE(process.writeAll(std::string(HelperProtocol::kMaxLine + 1, 'x') + "\nthree\n", soon));
    EXPECT_EQ(process.readLine(soon), std::nullopt) << "a line over the limit";

    // One that ignores the end of its input is killed after the grace time.
    ASSERT_TRUE(process.start({"sh", "-c", "trap '' TERM; exec sleep 30"}, {}));
    const pid_t stubborn = process.pid();
    const auto started = HelperProcess::Clock::now();
    process.stop(50ms);
    EXPECT_LT(HelperProcess::Clock::now() - started, 5s) << "waited for it to end by itself";
    EXPECT_NE(::kill(stubborn, 0), 0);
    // One that has ended: writing fails and reading meets the end.
    ASSERT_TRUE(process.start({"true"}, {}));
    EXPECT_EQ(process.readLine(in(2s)), std::nullopt);
    EXPECT_FALSE(process.writeAll(std::string(1 << 20, 'x'), in(2s)));
}

TEST(WineSessions, FoundByTheLockTheirServerHolds)
{
    const QTemporaryDir directory;
    const fs::path root = directory.path().toStdString(), table = root / "proc", build = root / "wine";
    const uid_t uid = ::getuid();
    // A Wine build with a preloader, and a loader of someone's choosing.
    for (const fs::path &program : {build / "wine64", build / "wine64-preloader", build / "wineserver",
                                    root / "custom" / "wine"})
        writeFile(program, "#!/bin/sh\n", true);
    // A prefix whose server keeps its lock under `serverRoot`, which Debian's
    // layout names in the prefix's "wineserver" file (`named`); the front-end's
    // has upstream's layout. The locks are held by stand-in servers, but
    // stale's server has gone and left its lock.
    const struct { std::string prefix, named = "wine-Ab12Cd", serverRoot = "tmp/wine-Ab12Cd"; } prefixes[] = {
        {"home/.wine"}, {"chosen", "wine-Zz99Yy\n", "tmp-other/wine-Zz99Yy"},
        {"games/frontend", "", "upstream/.wine-" + std::to_string(uid)}, {"alone"}, {"idle"},
        {"stale", "wine-Old000", "tmp/wine-Old000"}, {"theirs"}, {"fifo-wineserver"}, {"fifo-environ"},
        {"fifo-cmdline"},
    };
    std::vector<std::unique_ptr<HelperProcess>> running;
    std::map<pid_t, std::string> servers;
    for (const auto &p : prefixes) {
        fs::create_directories(root / p.prefix);
        if (!p.named.empty())
            writeFile(root / p.prefix / "wineserver", p.named);
        const fs::path lock = root / p.serverRoot / *serverFolderName(root / p.prefix) / "lock";
        writeFile(lock, "");
        if (p.prefix == "stale")
            continue;
        const auto &server = running.emplace_back(std::make_unique<HelperProcess>());
        EXPECT_TRUE(server->start({FAKE_IM_HELPER, "lock", lock}, {}));
        EXPECT_EQ(server->readLine(HelperProcess::Clock::now() + 5s), "locked");
        servers[server->pid()] = p.prefix;
    }
    const auto env = [&](const char *name, const std::string &prefix) { return std::string(name) + "=" + (root / prefix).string(); };

    addProcess(table, 100, build / "wine64-preloader", {env("WINEPREFIX", "games/frontend"), "HOME=/elsewhere"});
    addProcess(table, 101, FAKE_IM_HELPER, {env("HOME", "home")}); // not Wine: does not count
    addProcess(table, 102, build / "wineserver", {env("HOME", "home"), env("TMPDIR", "tmp")});
    addProcess(table, 103, "/opt/wine/bin/wine",
               {env("WINEPREFIX", "chosen/"), env("TMPDIR", "tmp-other"), env("WINELOADER", "custom/wine")});
    addProcess(table, 104, build / "wine64", {env("WINEPREFIX", "stale")});
    addProcess(table, 105, build / "wine64", {"WINEPREFIX=relative/prefix"});
    addProcess(table, 106, build / "wine64", {env("WINEPREFIX", "missing")});
    addProcess(table, 107, build / "wine64", {env("HOME", "home")});
    addProcess(table, 108, "/gone/wine", {env("WINEPREFIX", "alone")}); // no loader of its own to use
    addProcess(table, running[3]->pid(), build / "wineserver", {});
    // Only Wine's own services and a helper of ours: no IM window can be open there.
    addProcess(table, 109, build / "wine64", {env("WINEPREFIX", "idle")}, "C:\\windows\\system32\\services.exe");
    addProcess(table, 110, build / "wine64", {env("WINEPREFIX", "idle")}, "/usr/lib/quorvex-im-helper.exe");
    if (::geteuid() == 0) { // someone else's process in a prefix of ours: only root can make one
        addProcess(table, 111, build / "wine64", {env("WINEPREFIX", "theirs")});
        ASSERT_EQ(::chown((table / "111").c_str(), uid + 1, ::getgid()), 0);
    }
    // Anyone who can write a prefix can leave a FIFO where the search reads a
    // file: it is never waited on, and its session is passed over.
    const fs::path fifos[] = {root / "fifo-wineserver" / "wineserver", table / "113" / "environ", table / "114" / "cmdline"};
    for (int pid = 112; const fs::path &fifo : fifos) {
        addProcess(table, pid++, build / "wine64", {env("WINEPREFIX", "fifo-" + fifo.filename().string())});
        fs::remove(fifo);
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    }

    SessionSearch search{table, uid, std::nullopt, root / "home", root / "tmp", root / "upstream"};
    const auto before = tree(root);
    // Prefix, loader, TMPDIR, server.
    bool waited = false;
    const auto found = [&] {
        auto sessions = std::async(std::launch::async, [&] { return findWineSessions(search); });
        // A search that waits on a FIFO is let go: a writer comes and goes.
        while (sessions.wait_for(waited ? 50ms : 5000ms) != std::future_status::ready)
            for (const fs::path &fifo : fifos)
                waited = true, ::close(::open(fifo.c_str(), O_RDWR | O_NONBLOCK));
        std::string text;
        for (const WineSession &s : sessions.get())
            text += s.prefix.lexically_relative(root).string() + " " + s.loader.lexically_relative(root).string() + " "
                    + s.tmpDir.filename().string() + " " + servers.at(s.server) + "\n";
        return text;
    };
    // HOME/.wine first, then the others by path, a loader beside their
    // wineserver where no process names one; WINEPREFIX's first, however it
    // is spelt, but not where no program of the user's runs.
    const std::string beforeChosen = "home/.wine wine/wine64 tmp home/.wine\nalone wine/wine64 tmp alone\n",
                      chosen = "chosen custom/wine tmp-other chosen\n",
                      frontEnd = "games/frontend wine/wine64  games/frontend\n";
    EXPECT_EQ(found(), beforeChosen + chosen + frontEnd);
    search.winePrefix = root / "idle";
    EXPECT_EQ(found(), beforeChosen + chosen + frontEnd);
    search.winePrefix = root / "games" / ".." / "chosen";
    EXPECT_EQ(found(), "games/../" + chosen + beforeChosen + frontEnd);

    search.uid = uid + 1; // someone else's processes and servers are never touched
    EXPECT_EQ(found(), "");
    EXPECT_EQ(tree(root), before) << "a look-up creates nothing";
    EXPECT_FALSE(waited) << "a search waited on a FIFO";
}

TEST_F(BridgeTest, NoRunningSessionAnswersZeroAtOnceAndStartsNothing)
{
    int lists = 0;
    WineBridgeWindowSystem windows(FAKE_IM_HELPER, [&] { ++lists; return std::vector<WineSession>(); }, quick,
                                   [&] { ADD_FAILURE() << "an event turn"; return true; });
    SendImText(windows, u"hello");
    EXPECT_EQ(windows.findChildWindow(0, 0, kSendButtonClass), 0u);
    EXPECT_GT(lists, 0);
    EXPECT_TRUE(windows.helperProcesses().empty());
    // No helper at all: sessions are not even looked for.
    WineBridgeWindowSystem helperless("", [&] { ADD_FAILURE(); return std::vector<WineSession>(); });
    EXPECT_EQ(helperless.findWindow(kImWindowClass), 0u);
}

TEST_F(BridgeTest, AMisbehavingHelperEndsTheSendAndTheNextSendWorks)
{
    // mute and silent keep the send waiting: the event turns go on meanwhile.
    // What the first send says of its session, before "; the helper is stopped".
    const struct { const char *mode; bool waits; std::string says; } cases[] = {
        {"mute", true, "the helper did not greet (timed out after 400 ms)"},
        {"silent", true, "no answer to FindWindowA \"AIM_IMessage\" (timed out after 400 ms)"},
        {"twice", false, ""},
        {"dies", false, "no answer to FindWindowExA \"Edit\" (the helper closed its output (it has ended))"},
        {"garbage", false, "an answer to FindWindowA \"AIM_IMessage\" that is none: \"= that is no answer\""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mode);
        fs::remove(log);
        const WineSession standIn = session("a", c.mode);
        int turns = 0;
        {
            WineBridgeWindowSystem windows(modes, [&] { return std::vector{standIn}; }, quick,
                                           [&] { return ++turns > 0; });
            std::vector<std::string> said;
            windows.setDiagnostics([&](const std::string &line) { said.push_back(line); });
            const auto started = HelperProcess::Clock::now();
            SendImText(windows, u"first");
            EXPECT_EQ(said.empty() ? "" : said.front(),
                      c.says.empty() ? "" : "Wine session /prefix/a: " + c.says + "; the helper is stopped");
            // One wait at most: the rest of the send is quiet time (a wait for
            // each of its 13 look-ups would take 5.2 s).
            EXPECT_LT(HelperProcess::Clock::now() - started, 3s);
            if (c.waits) {
                EXPECT_GE(turns, 3);
            }
            writeFile(modes / "a", std::string(c.mode) == "twice" ? "twice" : "window");
            std::this_thread::sleep_for(quick.restart);
            SendImText(windows, u"second");
        }
        EXPECT_EQ(readFile(log), (std::string(c.mode) == "twice" ? delivered("first") : "") + delivered("second"));
    }
}

TEST_F(BridgeTest, TheImWindowIsLookedForInEverySessionAndUsedWhereFound)
{
    std::vector<WineSession> running{session("first", "empty"), session("second", "window")};
    WineBridgeWindowSystem windows(modes, [&] { return running; }, quick);
    EXPECT_EQ(windows.findWindow(kImWindowClass), 65552u);
    const auto pids = windows.helperProcesses();
    ASSERT_EQ(pids.size(), 2u) << "one helper per session, the first asked first";
    SendImText(windows, u"to the second");
    EXPECT_EQ(windows.helperProcesses(), pids) << "kept for later sends";

    // A session that ends takes its helper with it.
    running.pop_back();
    EXPECT_EQ(windows.findWindow(kImWindowClass), 0u);
    EXPECT_EQ(windows.helperProcesses(), std::vector{pids.front()});
    EXPECT_NE(::kill(pids.back(), 0), 0);
    EXPECT_EQ(readFile(log), delivered("to the second"));

    // A helper that ended between sends is replaced by the next look-up.
    ::kill(pids.front(), SIGKILL);
    std::this_thread::sleep_for(milliseconds(100));
    EXPECT_EQ(windows.findWindow(kImWindowClass), 0u);
    ASSERT_EQ(windows.helperProcesses().size(), 1u);
    EXPECT_NE(windows.helperProcesses().front(), pids.front());
}

TEST_F(BridgeTest, ASendFromAnEventTurnDuringAWaitRunsWholeAndBothStayInStep)
{
    // The IM window is in the second session, whose helper is slow to answer.
    const std::vector running{session("first", "empty"), session("second", "sluggish")};
    {
        int turns = -1000;
        bool inTurn = false;
        WineBridgeWindowSystem windows(modes, [&] { return running; }, quick, [&] {
            // "Send IM" pressed again while the first waits, then look-ups
            // that find nothing anywhere in later turns.
            if (!std::exchange(inTurn, true)) {
                if (++turns == 1)
                    SendImText(windows, u"second");
                else
                    windows.findWindow("NoSuchClass");
                inTurn = false;
            }
            return true;
        });
        windows.findWindow(kImWindowClass);
        turns = 0;
        SendImText(windows, u"first");
        EXPECT_GT(turns, 1);
    } // the helpers write their logs as they end
    EXPECT_EQ(readFile(log), delivered("second") + delivered("first"));
}

TEST_F(BridgeTest, EndingTheProgramDuringAWaitStopsEveryHelperAtOnce)
{
    for (const char *mode : {"mute", "sluggish"}) {
        SCOPED_TRACE(mode);
        // Another session's helper, left running by an earlier look-up.
        std::vector running{session("other", "empty")};
        HelperTimeouts timeouts = quick;
        timeouts.start = timeouts.answer = milliseconds(20000);
        int turns = -1000;
        std::vector<pid_t> helpers;
        WineBridgeWindowSystem windows(modes, [&] { return running; }, timeouts, [&] {
            helpers = windows.helperProcesses();
            return ++turns < 3; // the window closes at the third turn
        });
        EXPECT_EQ(windows.findWindow(kImWindowClass), 0u);
        running.insert(running.begin(), session("a", mode));
        turns = 0;
        const auto started = HelperProcess::Clock::now();
        SendImText(windows, u"never");
        EXPECT_LT(HelperProcess::Clock::now() - started, 20s) << "the wait was given up, not timed out";
        EXPECT_EQ(turns, 3);
        ASSERT_EQ(helpers.size(), 2u);
        EXPECT_NE(::kill(helpers.front(), 0), 0);
        EXPECT_NE(::kill(helpers.back(), 0), 0);
        EXPECT_TRUE(windows.helperProcesses().empty());
        std::this_thread::sleep_for(timeouts.restart);
        EXPECT_EQ(windows.findWindow(kImWindowClass), 0u) << "nothing starts once the program ends";
        EXPECT_TRUE(windows.helperProcesses().empty());
    }
}

