#include "winesessions.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace Tarnellbas {

namespace fs = std::filesystem;

namespace {

using PrefixId = std::pair<dev_t, ino_t>;

// The prefix a process runs in, and what it says about its Wine.
struct WineProcess
{
    fs::path prefix;
    PrefixId prefixId;
    std::vector<fs::path> loaders; // most telling first
    fs::path tmpDir;
    bool userProgram = false; // neither a wineserver, nor Wine's own services, nor a helper of ours
};

std::optional<PrefixId> prefixId(const fs::path &prefix)
{
    struct stat status{};
    if (::stat(prefix.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
        return std::nullopt;
    return PrefixId{status.st_dev, status.st_ino};
}

std::string serverFolderName(const PrefixId &id)
{
    char name[64];
    std::snprintf(name, sizeof name, "server-%llx-%llx", static_cast<unsigned long long>(id.first),
                  static_cast<unsigned long long>(id.second));
    return name;
}

bool isNumber(const std::string &name)
{
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The start of a regular file, at most limit bytes, and empty for a file
// that is not there; nothing for anything else. Anyone who can write a prefix
// can put a FIFO or a device there, and a read from one could wait for good.
std::optional<std::string> readRegularFile(const fs::path &file, std::size_t limit)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno == ENOENT ? std::optional<std::string>("") : std::nullopt;
    struct stat status{};
    std::optional<std::string> content;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        content.emplace(limit, '\0');
        std::size_t got = 0;
        while (got < limit) {
            const ssize_t n = ::read(fd, content->data() + got, limit - got);
            if (n > 0)
                got += static_cast<std::size_t>(n);
            else if (n == 0 || errno != EINTR)
                break;
        }
        content->resize(got);
    }
    ::close(fd);
    return content;
}

// The Windows programs Wine runs for itself in every session. A session with
// nothing else in it has no IM window, and our helper alone would keep it
// from ending.
std::optional<bool> isWinesOwn(const fs::path &folder)
{
    static const std::string own[] = {"services.exe", "winedevice.exe", "plugplay.exe", "svchost.exe",
                                      "rpcss.exe", "explorer.exe", "conhost.exe", "wineboot.exe",
                                      "winemenubuilder.exe", "quorvex-im-helper.exe"};
    const auto commandLine = readRegularFile(folder / "cmdline", 4096);
    if (!commandLine)
        return std::nullopt;
    std::string program = commandLine->substr(0, commandLine->find('\0'));
    program = program.substr(program.find_last_of("/\\") + 1);
    std::transform(program.begin(), program.end(), program.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::find(std::begin(own), std::end(own), program) != std::end(own);
}

// The few variables of a process's environment that tell its Wine session.
std::optional<std::map<std::string, std::string>> wineVariables(const fs::path &processFolder)
{
    static const std::string names[] = {"WINEPREFIX", "HOME", "TMPDIR", "WINELOADER"};
    const auto read = readRegularFile(processFolder / "environ", 1 << 20);
    if (!read)
        return std::nullopt;
    const std::string &environment = *read;
    std::map<std::string, std::string> found;
    for (std::size_t start = 0; start < environment.size();) {
        std::size_t end = environment.find('\0', start);
        if (end == std::string::npos)
            end = environment.size();
        const std::string_view entry(environment.data() + start, end - start);
        for (const std::string &name : names)
            if (entry.size() > name.size() && entry.substr(0, name.size()) == name && entry[name.size()] == '=')
                found[name] = std::string(entry.substr(name.size() + 1));
        start = end + 1;
    }
    return found;
}

// Relative paths mean nothing outside the process that holds them; a
// trailing slash is dropped so that the prefix has its own name.
fs::path absoluteOrEmpty(const std::string &path)
{
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    const fs::path p(trimmed);
    return p.is_absolute() ? p : fs::path();
}

// The loader next to a wineserver binary, as Wine's builds install them.
std::vector<fs::path> loadersBeside(const fs::path &server)
{
    return {server.parent_path() / "wine64", server.parent_path() / "wine"};
}

std::optional<WineProcess> wineProcess(const fs::path &folder, uid_t uid)
{
    struct stat status{};
    if (::stat(folder.c_str(), &status) != 0 || status.st_uid != uid)
        return std::nullopt;
    std::error_code error;
    const fs::path exe = fs::read_symlink(folder / "exe", error);
    if (error)
        return std::nullopt;
    const std::string name = exe.filename().string();
    const bool loader = name == "wine" || name == "wine64" || name == "wine-preloader" || name == "wine64-preloader";
    const bool server = name == "wineserver" || name == "wineserver64" || name == "wineserver32";
    if (!loader && !server)
        return std::nullopt;

    // A process whose files are odd is passed over.
    const auto variables = wineVariables(folder);
    if (!variables)
        return std::nullopt;
    WineProcess process;
    const auto value = [&](const char *name) {
        const auto it = variables->find(name);
        return it == variables->end() ? std::string() : it->second;
    };
    process.prefix = absoluteOrEmpty(value("WINEPREFIX"));
    if (process.prefix.empty() && value("WINEPREFIX").empty() && !absoluteOrEmpty(value("HOME")).empty())
        process.prefix = absoluteOrEmpty(value("HOME")) / ".wine";
    if (process.prefix.empty())
        return std::nullopt;
    const auto id = prefixId(process.prefix);
    if (!id)
        return std::nullopt;
    process.prefixId = *id;
    if (const fs::path chosen = absoluteOrEmpty(value("WINELOADER")); !chosen.empty())
        process.loaders.push_back(chosen);
    if (loader) {
        // A preloader maps memory, then runs the loader of the same name beside it.
        const std::string suffix = "-preloader";
        process.loaders.push_back(name.ends_with(suffix)
                                      ? exe.parent_path() / name.substr(0, name.size() - suffix.size())
                                      : exe);
    } else {
        for (const fs::path &beside : loadersBeside(exe))
            process.loaders.push_back(beside);
    }
    process.tmpDir = absoluteOrEmpty(value("TMPDIR"));
    if (process.tmpDir.empty())
        process.tmpDir = "/tmp";
    if (loader) {
        const auto own = isWinesOwn(folder);
        if (!own)
            return std::nullopt;
        process.userProgram = !*own;
    }
    return process;
}

std::vector<WineProcess> wineProcesses(const SessionSearch &search)
{
    std::vector<WineProcess> processes;
    std::error_code error;
    for (fs::directory_iterator it(search.processTable, error), end; !error && it != end; it.increment(error)) {
        if (!isNumber(it->path().filename().string()))
            continue;
        if (auto process = wineProcess(it->path(), search.uid))
            processes.push_back(std::move(*process));
    }
    return processes;
}

bool isExecutableFile(const fs::path &file)
{
    std::error_code error;
    return fs::is_regular_file(file, error) && ::access(file.c_str(), X_OK) == 0;
}

// The name Debian's Wine keeps in the prefix for its private server folder:
// none when the prefix has no such file (upstream Wine), nothing at all when
// the file is odd, and then the session is passed over.
std::optional<std::optional<std::string>> privateFolderName(const fs::path &prefix)
{
    const auto read = readRegularFile(prefix / "wineserver", 256);
    if (!read)
        return std::nullopt;
    std::string name = *read;
    while (!name.empty() && (name.back() == '\n' || name.back() == ' ' || name.back() == '\r'))
        name.pop_back();
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos
        || name.find('\0') != std::string::npos)
        return std::optional<std::string>();
    return std::optional<std::string>(name);
}

template <typename T>
void appendUnique(std::vector<T> &list, const T &item)
{
    if (!item.empty() && std::find(list.begin(), list.end(), item) == list.end())
        list.push_back(item);
}

} // namespace

SessionSearch SessionSearch::fromEnvironment()
{
    SessionSearch search;
    search.uid = ::getuid();
    const auto variable = [](const char *name) {
        const char *value = std::getenv(name);
        return value ? std::string(value) : std::string();
    };
    if (const fs::path prefix = absoluteOrEmpty(variable("WINEPREFIX")); !prefix.empty())
        search.winePrefix = prefix;
    search.home = absoluteOrEmpty(variable("HOME"));
    if (const fs::path tmp = absoluteOrEmpty(variable("TMPDIR")); !tmp.empty())
        search.tmpDir = tmp;
    // For the tests: a process table that holds only the processes they start.
    if (const fs::path table = absoluteOrEmpty(variable("QUORVEX_PROC_ROOT")); !table.empty())
        search.processTable = table;
    return search;
}

std::optional<std::string> serverFolderName(const fs::path &prefix)
{
    const auto id = prefixId(prefix);
    if (!id)
        return std::nullopt;
    return serverFolderName(*id);
}

std::optional<pid_t> lockHolder(const fs::path &lockFile, uid_t uid)
{
    const int fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat status{};
    struct flock lock{};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    const bool tested = ::fstat(fd, &status) == 0 && status.st_uid == uid && S_ISREG(status.st_mode)
                        && ::fcntl(fd, F_GETLK, &lock) == 0;
    ::close(fd);
    if (!tested || lock.l_type == F_UNLCK)
        return std::nullopt;
    return lock.l_pid;
}

std::vector<WineSession> findWineSessions(const SessionSearch &search, const Diagnostics &diagnostics)
{
    const std::vector<WineProcess> processes = wineProcesses(search);
    const auto passOver = [&diagnostics](const fs::path &prefix, const std::string &why) {
        if (diagnostics)
            diagnostics("Wine prefix " + prefix.string() + " passed over: " + why);
    };

    // Prefixes in the order they are tried, each once however it is spelt.
    std::vector<fs::path> prefixes;
    if (search.winePrefix)
        prefixes.push_back(*search.winePrefix);
    if (!search.home.empty())
        prefixes.push_back(search.home / ".wine");
    std::vector<fs::path> others;
    for (const WineProcess &process : processes)
        appendUnique(others, process.prefix);
    std::sort(others.begin(), others.end());
    prefixes.insert(prefixes.end(), others.begin(), others.end());

    std::vector<WineSession> sessions;
    std::vector<PrefixId> seen;
    for (const fs::path &prefix : prefixes) {
        const auto id = prefixId(prefix);
        if (!id) {
            passOver(prefix, "no such folder");
            continue;
        }
        if (std::find(seen.begin(), seen.end(), *id) != seen.end())
            continue;
        seen.push_back(*id);
        const std::string folder = serverFolderName(*id);

        std::vector<fs::path> loaders, tmpDirs;
        bool userProgram = false, anyProcess = false;
        for (const WineProcess &process : processes) {
            if (process.prefixId != *id)
                continue;
            anyProcess = true;
            for (const fs::path &loader : process.loaders)
                appendUnique(loaders, loader);
            appendUnique(tmpDirs, process.tmpDir);
            userProgram = userProgram || process.userProgram;
        }
        if (!userProgram) {
            passOver(prefix, anyProcess ? "only Wine's own services (or our helper) run in it: no IM window can be open"
                                        : "no Wine program of yours runs in it");
            continue;
        }
        appendUnique(tmpDirs, search.tmpDir);
        appendUnique(tmpDirs, fs::path("/tmp"));

        // Where the server folder may be: Debian's private folder under a
        // TMPDIR, or upstream Wine's per-user folder (no TMPDIR needed).
        const auto name = privateFolderName(prefix);
        if (!name)
            continue;
        std::vector<std::pair<fs::path, fs::path>> locks; // lock file, TMPDIR
        if (*name)
            for (const fs::path &tmp : tmpDirs)
                locks.emplace_back(tmp / **name / folder / "lock", tmp);
        locks.emplace_back(search.upstreamRoot / (".wine-" + std::to_string(search.uid)) / folder / "lock",
                           fs::path());

        bool locked = false;
        for (const auto &[lock, tmpDir] : locks) {
            const auto server = lockHolder(lock, search.uid);
            if (!server)
                continue;
            locked = true;
            std::error_code error;
            const fs::path serverExe =
                fs::read_symlink(search.processTable / std::to_string(*server) / "exe", error);
            if (!error)
                for (const fs::path &beside : loadersBeside(serverExe))
                    appendUnique(loaders, beside);
            const auto loader = std::find_if(loaders.begin(), loaders.end(), isExecutableFile);
            if (loader != loaders.end()) {
                sessions.push_back({prefix, *loader, tmpDir, *server});
                if (diagnostics)
                    diagnostics("Wine prefix " + prefix.string() + ": a session runs (wineserver "
                                + std::to_string(*server) + "); its helper starts with " + loader->string());
            } else {
                passOver(prefix, "its wineserver " + std::to_string(*server)
                                     + " runs, but no Wine loader of its processes is an executable file");
            }
            break;
        }
        if (!locked) {
            std::string tried;
            for (const auto &lock : locks)
                tried += (tried.empty() ? "" : ", ") + lock.first.string();
            passOver(prefix, "no wineserver holds its lock (" + tried + ")");
        }
    }
    return sessions;
}

} // namespace Tarnellbas
