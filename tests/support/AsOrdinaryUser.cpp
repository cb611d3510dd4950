#include "AsOrdinaryUser.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRowTimeoutMs = 60000;
constexpr uid_t kNobodyFallback = 65534;

void WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return;
        }
        done += static_cast<std::size_t>(written);
    }
}

// In the child: become the ordinary user for good (root can give itself any groups).
bool BecomeOrdinaryUser(const OrdinaryUser& user) {
    if (::geteuid() != 0) {
        return true;
    }
    const gid_t groups[] = {user.gid, user.otherGroup};
    return ::setgroups(2, groups) == 0 && ::setgid(user.gid) == 0 && ::setuid(user.uid) == 0 &&
           ::geteuid() == user.uid && ::setuid(0) != 0;
}

[[noreturn]] void RunChild(int out, const OrdinaryUser& user,
                           const std::function<std::string()>& row) {
    std::string result;
    if (!BecomeOrdinaryUser(user)) {
        result = std::string("(could not become the ordinary user: ") + std::strerror(errno) + ")";
    } else {
        try {
            result = row();
        } catch (const std::exception& error) {
            result = std::string("(row threw: ") + error.what() + ")";
        } catch (...) {
            result = "(row threw)";
        }
    }
    WriteAll(out, result);
    ::close(out);
    ::_exit(0); // no exit handlers: they belong to the parent (test runner, leak checker)
}

// Everything the child writes, until it closes its end or the time is up.
bool ReadAll(int in, std::string& text) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kRowTimeoutMs);
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        pollfd wait{in, POLLIN, 0};
        const int ready = left > 0 ? ::poll(&wait, 1, static_cast<int>(left)) : 0;
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return false;
        }
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return true;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

// Opens every folder for its owner before removing it, as a row may have locked one.
void Unlock(const std::string& folder) {
    ::chmod(folder.c_str(), 0700);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    std::vector<std::string> inner;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        struct stat info {};
        const std::string path = folder + "/" + name;
        if (name != "." && name != ".." && ::lstat(path.c_str(), &info) == 0 &&
            S_ISDIR(info.st_mode)) {
            inner.push_back(path);
        }
    }
    ::closedir(dir);
    for (const std::string& path : inner) {
        Unlock(path);
    }
}

} // namespace

OrdinaryUser TheOrdinaryUser() {
    if (::geteuid() != 0) {
        OrdinaryUser self{::geteuid(), ::getegid(), ::getegid()};
        const int count = ::getgroups(0, nullptr);
        std::vector<gid_t> groups(static_cast<std::size_t>(count > 0 ? count : 0));
        if (count > 0 && ::getgroups(count, groups.data()) == count) {
            for (const gid_t group : groups) {
                if (group != self.gid) {
                    self.otherGroup = group;
                    break;
                }
            }
        }
        return self;
    }
    const passwd* nobody = ::getpwnam("nobody");
    const group* users = ::getgrnam("users");
    const uid_t uid = nobody != nullptr ? nobody->pw_uid : kNobodyFallback;
    const gid_t gid = nobody != nullptr ? nobody->pw_gid : kNobodyFallback;
    return {uid, gid, users != nullptr && users->gr_gid != gid ? users->gr_gid : gid + 1};
}

std::string AsOrdinaryUser(const std::function<std::string()>& row) {
    const OrdinaryUser user = TheOrdinaryUser();
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return "(no pipe to the row)";
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        return "(no child for the row)";
    }
    if (child == 0) {
        ::close(ends[0]);
        RunChild(ends[1], user, row);
    }
    ::close(ends[1]);
    std::string result;
    const bool ended = ReadAll(ends[0], result);
    ::close(ends[0]);
    if (!ended) {
        ::kill(child, SIGKILL);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!ended) {
        return "(row did not end)";
    }
    if (WIFSIGNALED(status)) {
        return "(row died of signal " + std::to_string(WTERMSIG(status)) + ")";
    }
    return result;
}

OrdinaryUserFolder::OrdinaryUserFolder() {
    std::string pattern = "/tmp/zorvo-user-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        return;
    }
    const OrdinaryUser user = TheOrdinaryUser();
    if (::chmod(pattern.c_str(), 0755) != 0 || ::chown(pattern.c_str(), user.uid, user.gid) != 0) {
        ::rmdir(pattern.c_str());
        return;
    }
    m_path = pattern;
}

OrdinaryUserFolder::~OrdinaryUserFolder() {
    if (m_path.empty()) {
        return;
    }
    Unlock(m_path);
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}
