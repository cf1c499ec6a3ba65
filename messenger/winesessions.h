#pragma once

#include "messenger/diagnostics.h"

#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace Tarnellbas {

// A running Wine session: a prefix whose wineserver holds its lock.
struct WineSession
{
    std::filesystem::path prefix;
    // The Wine loader its processes run: a wineserver talks only to its own
    // Wine, so the helper starts with this one.
    std::filesystem::path loader;
    // TMPDIR for Wine builds that keep the server folder under it; empty
    // where the folder is /tmp/.wine-<uid>.
    std::filesystem::path tmpDir;
    pid_t server = 0; // the wineserver holding the lock
};

// Where and for whom sessions are looked for.
struct SessionSearch
{
    std::filesystem::path processTable = "/proc";
    uid_t uid = 0;                                  // only this user's processes and servers
    std::optional<std::filesystem::path> winePrefix; // the program's own WINEPREFIX
    std::filesystem::path home;                     // its HOME: the default prefix is HOME/.wine
    std::filesystem::path tmpDir = "/tmp";          // its TMPDIR
    std::filesystem::path upstreamRoot = "/tmp";    // upstream Wine keeps .wine-<uid> here

    // This program's own settings, from its environment.
    static SessionSearch fromEnvironment();
};

// The running sessions, WINEPREFIX's first, then the default prefix's, then
// the others that the user's Wine processes run in. Nothing is started,
// created or locked: a wineserver holds a lock on `lock` in its server folder
// while it runs, and that is only tested. A session counts while a program of
// the user runs in it: with only Wine's own services (and our helpers) left,
// no IM window can be open. Each prefix looked at is said to the diagnostics:
// found, or why it was passed over.
std::vector<WineSession> findWineSessions(const SessionSearch &search, const Diagnostics &diagnostics = {});

// The process holding a write-excluding lock on the file, if any, learned
// with F_GETLK; the file must belong to `uid`.
std::optional<pid_t> lockHolder(const std::filesystem::path &lockFile, uid_t uid);

// "server-<device>-<inode>", in hex, as the wineserver of that prefix names its folder.
std::optional<std::string> serverFolderName(const std::filesystem::path &prefix);

} // namespace Tarnellbas
