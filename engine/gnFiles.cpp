#include "gnFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>

#include "gnPlatform.h"

namespace {

constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
constexpr mode_t kMode = 0666;  // narrowed by the umask, as fopen does

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

}  // namespace

bool gnReplaceFile(const char* path, const void* bytes, size_t size) {
    char temporary[PATH_MAX];
    if (snprintf(temporary, sizeof temporary, "%s.new", path) >= static_cast<int>(sizeof temporary))
        return false;
    // Beyond the file-size limit a write fails with EFBIG instead of ending the process.
    struct sigaction ignore = {}, saved = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &saved);
    int fd = open(temporary, kCreateFlags, kMode);
    if (fd < 0 && errno == EEXIST && unlink(temporary) == 0)  // left by a crash, or a link
        fd = open(temporary, kCreateFlags, kMode);
    bool written =
        fd >= 0 && writeAll(fd, static_cast<const unsigned char*>(bytes), size) && fsync(fd) == 0;
    if (fd >= 0) {
        written = close(fd) == 0 && written;
        written = written && rename(temporary, path) == 0;
        if (!written)
            unlink(temporary);
    }
    sigaction(SIGXFSZ, &saved, nullptr);
    if (written)
        gnFileSaved(path);
    return written;
}
