#include "host/platform/FileUpdateLock.h"

#include "host/platform/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace korvane::platform {

namespace {

// Polling keeps the wait bounded without signals. A turn takes a few milliseconds,
// mostly flushing to disk, so a longer step would leave the file idle between turns.
constexpr std::chrono::milliseconds kRetry{1};

} // namespace

FileUpdateLock::FileUpdateLock(const std::string& path, std::chrono::milliseconds wait)
{
    std::string folder = ReplacementFolder(path);
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        m_error = "cannot open the folder " + folder + ": " + std::strerror(errno);
        return;
    }
    auto deadline = std::chrono::steady_clock::now() + wait;
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int error = errno;
        if (error == EINTR)
            continue;
        if (error != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
            m_error = error == EWOULDBLOCK ? "another program kept " + folder + " locked for too long"
                                           : "cannot lock the folder " + folder + ": " + std::strerror(error);
            close(fd);
            return;
        }
        std::this_thread::sleep_for(kRetry);
    }
    m_folder = fd;
    RemoveAbandonedTemporaries(path);
}

FileUpdateLock::~FileUpdateLock()
{
    if (m_folder >= 0)
        close(m_folder);
}

} // namespace korvane::platform
