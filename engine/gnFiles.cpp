#include "gnFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "gnPlatform.h"

namespace {

constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
constexpr mode_t kMode = 0666;          // narrowed by the umask, as fopen does
constexpr mode_t kPermissions = 07777;  // the bits a replaced file keeps
constexpr int kNamesTried = 100;        // temporary names, should earlier ones be taken

std::atomic<unsigned> temporaries{0};  // this process's temporary files so far

bool writeAll(int fd, const unsigned char* bytes, size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, bytes, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// The folder of a path ("." for a bare name) and the name in it.
void split(const std::string& path, std::string& folder, std::string& name) {
    const size_t slash = path.rfind('/');
    folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    name = slash == std::string::npos ? path : path.substr(slash + 1);
}

// A new temporary file of this writer's beside the file: its descriptor, or -1.
int createTemporary(const std::string& folder, const std::string& name, std::string& temporary) {
    for (int tries = 0; tries < kNamesTried; ++tries) {
        temporary = folder + "/." + name + "." + std::to_string(getpid()) + "." +
                    std::to_string(temporaries++) + ".tmp";
        const int fd = open(temporary.c_str(), kCreateFlags, kMode);
        if (fd >= 0 || errno != EEXIST)  // a name taken: a crashed writer's, left alone
            return fd;
    }
    return -1;
}

// Flushes the folder, so that a rename in it survives a power cut. Some file systems (a
// browser's) cannot flush a folder; the rename has happened, so that is no failure.
void flushFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

}  // namespace

bool gnReplaceFile(const char* path, const void* bytes, size_t size) {
    std::string folder, name, temporary;
    split(path, folder, name);
    // Beyond the file-size limit a write fails with EFBIG instead of ending the process.
    struct sigaction ignore = {}, saved = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &saved);
    const int fd = createTemporary(folder, name, temporary);
    bool written = fd >= 0;
    struct stat old = {};
    if (written && lstat(path, &old) == 0 && S_ISREG(old.st_mode)) {
        fchmod(fd, old.st_mode & kPermissions);
        if (geteuid() == 0 && (old.st_uid != 0 || old.st_gid != 0))
            written = fchown(fd, old.st_uid, old.st_gid) == 0;  // root resets the kiosk's table
    }
    written =
        written && writeAll(fd, static_cast<const unsigned char*>(bytes), size) && fsync(fd) == 0;
    if (fd >= 0) {
        written = close(fd) == 0 && written;
        written = written && rename(temporary.c_str(), path) == 0;
        if (!written)
            unlink(temporary.c_str());
    }
    sigaction(SIGXFSZ, &saved, nullptr);
    if (!written)
        return false;
    flushFolder(folder);
    gnFileSaved(path);
    return true;
}

int gnOpenRegular(const char* path, std::string& why) {
    why.clear();
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = strerror(errno);
        return -1;
    }
    struct stat info = {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        why = S_ISDIR(info.st_mode) ? "it is a folder" : "it is not a regular file";
        close(fd);
        errno = EINVAL;
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool gnReadFile(const char* path, size_t maxBytes, std::string& bytes, std::string& why) {
    why.clear();
    bytes.clear();
    const int fd = gnOpenRegular(path, why);
    if (fd < 0)
        return false;
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            why = strerror(errno);
        else if (bytes.size() + static_cast<size_t>(n) > maxBytes)
            why = "it is larger than " + std::to_string(maxBytes) + " bytes";
        if (n <= 0 || !why.empty())
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    if (!why.empty())
        bytes.clear();
    return why.empty();
}
