#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ui {

std::string SingleInstance::LockPath(const std::string& name,
                                     const std::optional<std::string>& dir) {
    if (dir) return *dir + "/" + name + ".lock";
    if (const char* run = std::getenv("XDG_RUNTIME_DIR"); run && *run)
        return std::string(run) + "/" + name + ".lock";
    const char* tmp = std::getenv("TMPDIR");
    const std::string base = tmp && *tmp ? tmp : "/tmp";
    return base + "/" + name + "-" + std::to_string(::getuid()) + ".lock";
}

SingleInstance::SingleInstance(const std::string& name, const std::optional<std::string>& dir)
    : path_(LockPath(name, dir)) {
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        // No lock to be had: better to run than to refuse to start at all.
        std::fprintf(stderr, "lumia: cannot open the lock file %s: %s\n", path_.c_str(),
                     std::strerror(errno));
        acquired_ = true;
        return;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        acquired_ = true;
    } else {
        otherRuns_ = errno == EWOULDBLOCK;
        acquired_ = !otherRuns_;
        ::close(fd_);
        fd_ = -1;
    }
}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }
}

}  // namespace ui
