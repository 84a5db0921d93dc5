#include "FindCommand.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "scan/posix/Utf8Names.h"

extern char** environ;

namespace qorvani::bench {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }
    void Close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
};

class SpawnActions {
public:
    SpawnActions() { posix_spawn_file_actions_init(&actions_); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    posix_spawn_file_actions_t* Get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

// The environment with LC_ALL=C, find's fastest and byte-wise matching.
std::vector<std::string> CLocaleEnvironment() {
    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry)
        if (std::strncmp(*entry, "LC_ALL=", 7) != 0) env.emplace_back(*entry);
    env.emplace_back("LC_ALL=C");
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Starts find with stdout on outFd, then returns its process id.
pid_t StartFind(std::vector<std::string> arguments, int outFd) {
    SpawnActions actions;
    if (posix_spawn_file_actions_adddup2(actions.Get(), outFd, STDOUT_FILENO) != 0)
        Fail("posix_spawn_file_actions_adddup2");
    std::vector<std::string> env = CLocaleEnvironment();
    std::vector<char*> argv = Pointers(arguments);
    std::vector<char*> envp = Pointers(env);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, "find", actions.Get(), nullptr, argv.data(), envp.data());
    if (error != 0) {
        errno = error;
        Fail("cannot start find");
    }
    return pid;
}

void WaitForFind(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) Fail("waitpid");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("find did not succeed");
}

}  // namespace

std::string FindPattern(const std::wstring& mask) {
    std::wstring pattern;
    for (wchar_t c : mask) {
        if (c == L'#') pattern += L"[0-9]";
        else if (c == L'\\') pattern += L"\\\\";
        else pattern += c;
    }
    std::string bytes;
    EncodeFileName(pattern, bytes);
    return bytes;
}

std::vector<std::string> FindMaskArguments(const std::string& root,
                                           const std::vector<std::wstring>& masks) {
    std::vector<std::string> arguments{"find", root, "-type", "f", "("};
    for (std::size_t i = 0; i < masks.size(); ++i) {
        if (i != 0) arguments.emplace_back("-o");
        arguments.emplace_back("-iname");
        arguments.push_back(FindPattern(masks[i]));
    }
    arguments.insert(arguments.end(), {")", "-printf", "%s %p\\n"});
    return arguments;
}

FoundFiles RunFindListing(const std::vector<std::string>& arguments) {
    int ends[2];
    if (::pipe(ends) != 0) Fail("pipe");
    FileDescriptor readEnd(ends[0]);
    FileDescriptor writeEnd(ends[1]);
    ::fcntl(readEnd.Get(), F_SETFD, FD_CLOEXEC);
    ::fcntl(writeEnd.Get(), F_SETFD, FD_CLOEXEC);  // the child's copy is the dup2 one
    const pid_t pid = StartFind(arguments, writeEnd.Get());
    writeEnd.Close();

    FoundFiles found;
    std::string pending;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(readEnd.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        pending.append(buffer, static_cast<std::size_t>(got));
        std::size_t start = 0;
        for (std::size_t end; (end = pending.find('\n', start)) != std::string::npos;
             start = end + 1) {
            const std::size_t space = pending.find(' ', start);
            if (space == std::string::npos || space > end) continue;
            const std::uint64_t size = std::stoull(pending.substr(start, space - start));
            found.files.emplace_back(pending.substr(space + 1, end - space - 1), size);
            found.totalBytes += size;
        }
        pending.erase(0, start);
    }
    readEnd.Close();
    WaitForFind(pid);
    return found;
}

void RunFindBare(const std::string& root) {
    FileDescriptor devNull(::open("/dev/null", O_WRONLY | O_CLOEXEC));
    if (devNull.Get() < 0) Fail("/dev/null");
    WaitForFind(StartFind({"find", root}, devNull.Get()));
}

}  // namespace qorvani::bench
