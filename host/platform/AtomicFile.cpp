#include "host/platform/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace korvane::platform {

namespace {

std::string Reason(const std::string& what, const std::string& path, int error)
{
    return what + " " + path + ": " + std::strerror(error);
}

// The path to write: the file a symbolic link names, so the link itself survives.
std::string ResolveTarget(const std::string& path)
{
    std::string target = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::vector<char> buffer(PATH_MAX + 1, '\0');
        ssize_t length = readlink(target.c_str(), buffer.data(), PATH_MAX);
        if (length < 0)
            return target;
        std::string link(buffer.data(), static_cast<std::size_t>(length));
        if (!link.empty() && link.front() != '/') {
            std::size_t slash = target.rfind('/');
            link = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + link;
        }
        target = link;
    }
    return target;
}

bool WriteAll(int fd, const std::string& contents)
{
    const char* data = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        ssize_t written = write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

std::optional<std::string> ReplaceFileContents(const std::string& path, const std::string& contents)
{
    std::string target = ResolveTarget(path);
    std::size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);

    mode_t mode;
    struct stat existing {};
    if (stat(target.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        // A new file gets what creating it directly would give it.
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }

    std::string temporaryName = folder + "/." + name + ".XXXXXX";
    std::vector<char> temporary(temporaryName.begin(), temporaryName.end());
    temporary.push_back('\0');
    int fd = mkstemp(temporary.data());
    if (fd < 0)
        return Reason("cannot create a file in", folder, errno);

    auto fail = [&](const std::string& what) {
        int error = errno;
        close(fd);
        unlink(temporary.data());
        return Reason(what, target, error);
    };
    if (!WriteAll(fd, contents))
        return fail("cannot write");
    if (fchmod(fd, mode) != 0)
        return fail("cannot set the mode of");
    if (fsync(fd) != 0)
        return fail("cannot flush");
    if (close(fd) != 0) {
        int error = errno;
        unlink(temporary.data());
        return Reason("cannot close", target, error);
    }
    if (rename(temporary.data(), target.c_str()) != 0) {
        int error = errno;
        unlink(temporary.data());
        return Reason("cannot replace", target, error);
    }
    // Make the rename itself durable.
    int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
    return std::nullopt;
}

ReadOutcome ReadFileContents(const std::string& path, std::string& contents, std::string& error)
{
    int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return ReadOutcome::Missing;
        error = Reason("cannot open", path, errno);
        return ReadOutcome::Failed;
    }
    contents.clear();
    char buffer[8192];
    for (;;) {
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            error = Reason("cannot read", path, errno);
            close(fd);
            return ReadOutcome::Failed;
        }
        if (got == 0)
            break;
        contents.append(buffer, static_cast<std::size_t>(got));
    }
    close(fd);
    return ReadOutcome::Read;
}

} // namespace korvane::platform
