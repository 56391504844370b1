#include "host/platform/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string_view>
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

struct Location {
    std::string target;
    std::string folder;
    std::string name;
};

Location Locate(const std::string& path)
{
    Location location;
    location.target = ResolveTarget(path);
    std::size_t slash = location.target.rfind('/');
    location.folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : location.target.substr(0, slash));
    location.name = slash == std::string::npos ? location.target : location.target.substr(slash + 1);
    return location;
}

// A hidden name that no program reads as the file; the project's name in it keeps
// other people's files of a similar name out of the clean-up.
std::string TemporaryPrefix(const Location& location) { return "." + location.name + ".korvane-"; }
constexpr std::size_t kTemporarySuffixLength = 6; // mkstemp's XXXXXX

} // namespace

std::string ReplacementFolder(const std::string& path) { return Locate(path).folder; }

void RemoveAbandonedTemporaries(const std::string& path)
{
    Location location = Locate(path);
    std::string prefix = TemporaryPrefix(location);
    DIR* folder = opendir(location.folder.c_str());
    if (!folder)
        return;
    while (const dirent* entry = readdir(folder)) {
        std::string_view name = entry->d_name;
        if (name.size() != prefix.size() + kTemporarySuffixLength || !name.starts_with(prefix))
            continue;
        int fd = openat(dirfd(folder), entry->d_name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info {};
        if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0)
            unlinkat(dirfd(folder), entry->d_name, 0);
        close(fd);
    }
    closedir(folder);
}

std::optional<std::string> ReplaceFileContents(const std::string& path, const std::string& contents)
{
    Location location = Locate(path);
    const std::string& target = location.target;
    const std::string& folder = location.folder;

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

    std::string temporaryName = folder + "/" + TemporaryPrefix(location) + std::string(kTemporarySuffixLength, 'X');
    std::vector<char> temporary(temporaryName.begin(), temporaryName.end());
    temporary.push_back('\0');
    int fd = mkstemp(temporary.data());
    if (fd < 0)
        return Reason("cannot create a file in", folder, errno);
    // Held until the rename, so that a clean-up never takes a live temporary.
    flock(fd, LOCK_EX);

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
    if (rename(temporary.data(), target.c_str()) != 0)
        return fail("cannot replace");
    // The contents are on disk already, so closing cannot lose them.
    close(fd);
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
