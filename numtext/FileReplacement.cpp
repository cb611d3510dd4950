// Creating the temporary of a save, finding the file behind a name, syncing a folder.

#include "FileReplacement.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Enough names that a chance collision never ends a save; few enough that a folder which
// refuses every name ends the search at once.
constexpr int kNameAttempts = 8;
constexpr std::size_t kRandomLetters = 12; // 36^12 names: none can be guessed and planted

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Letters and digits from the kernel's random source; false (errno set) when it has none.
bool RandomLetters(std::string& letters) {
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::array<unsigned char, kRandomLetters> bytes{};
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::getrandom(bytes.data() + filled, bytes.size() - filled, 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        filled += static_cast<std::size_t>(got);
    }
    letters.clear();
    for (const unsigned char byte : bytes) {
        letters += kAlphabet[byte % (sizeof(kAlphabet) - 1)];
    }
    return true;
}

} // namespace

int CreateExclusive(const std::string& path) {
    int handle;
    do {
        handle = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    } while (handle < 0 && errno == EINTR);
    return handle;
}

int CreateTemporaryBeside(const std::string& target, std::string& name) {
    // Short whatever the target's name, so it always fits the folder's name limit; hidden, and
    // in the same folder, so that the rename replaces the target in one step.
    const std::string folder = FolderOf(target);
    std::string letters;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        if (!RandomLetters(letters)) {
            return -1;
        }
        name = folder + ".~" + letters + ".tmp";
        const int handle = CreateExclusive(name);
        if (handle >= 0 || errno != EEXIST) {
            return handle;
        }
    }
    return -1; // errno is EEXIST
}

std::string FileBehindName(const std::string& name) {
    struct stat info {};
    if (::lstat(name.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return name;
    }
    char* resolved = ::realpath(name.c_str(), nullptr);
    if (resolved == nullptr) {
        return {};
    }
    std::string path = resolved;
    std::free(resolved);
    return path;
}

int SyncFolderOf(const std::string& path) {
    const std::string folder = FolderOf(path);
    int handle;
    do {
        handle = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (handle < 0 && errno == EINTR);
    if (handle < 0) {
        // A folder that may be written but not read (mode 0300) cannot be opened to sync it;
        // the file itself was synced, and the save is done.
        return errno == EACCES || errno == EPERM ? 0 : -1;
    }
    int result = ::fsync(handle);
    if (result != 0 && (errno == EINVAL || errno == EROFS)) {
        result = 0; // the file system keeps no folder to sync
    }
    const int error = errno;
    ::close(handle);
    errno = error;
    return result;
}

unsigned NewFilePermissions() {
    // The mask can only be read by setting it; the files are saved on the one thread that runs
    // the commands, so nothing creates a file in between.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666U & ~static_cast<unsigned>(mask);
}
