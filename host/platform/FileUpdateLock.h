#pragma once

#include <chrono>
#include <string>

// An exclusive lock for reading, editing and replacing one file, so that writers in
// any number of processes take turns and each edits the file the previous one left.
namespace korvane::platform {

// The lock is a flock on the folder the file is replaced in, not on the file nor on
// a lock file beside it: the folder always exists, so nothing is left behind in it,
// and a lock on the file would be lost when the file is replaced by a rename. The
// kernel drops it when its holder dies. Once held, temporaries that writers killed
// mid-write left beside the file are removed.
class FileUpdateLock {
public:
    // Waits up to `wait` for the lock; when it is not had, Error() says why.
    FileUpdateLock(const std::string& path, std::chrono::milliseconds wait);
    ~FileUpdateLock();
    FileUpdateLock(const FileUpdateLock&) = delete;
    FileUpdateLock& operator=(const FileUpdateLock&) = delete;

    bool Held() const { return m_folder >= 0; }
    const std::string& Error() const { return m_error; }

private:
    int m_folder = -1;
    std::string m_error;
};

} // namespace korvane::platform
