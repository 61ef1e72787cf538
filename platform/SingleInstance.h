#pragma once
#include <optional>
#include <string>

// One copy of the program at a time: an advisory lock (flock) on a file named after
// the program's mutex name. The second copy finds the lock taken. The lock goes with
// the process, so a crashed copy never leaves it behind.
namespace ui {

class SingleInstance {
public:
    // Tries to take the lock on `name`.lock in `dir`; without `dir`, in the user's
    // runtime folder ($XDG_RUNTIME_DIR), else the temporary folder with the user id
    // in the name.
    explicit SingleInstance(const std::string& name,
                            const std::optional<std::string>& dir = std::nullopt);
    ~SingleInstance();  // releases the lock
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this copy holds the lock; false when another one does (or the lock file
    // cannot be opened, which is reported on stderr and lets the program run).
    bool Acquired() const { return acquired_; }
    bool OtherCopyRuns() const { return otherRuns_; }
    const std::string& Path() const { return path_; }

    static std::string LockPath(const std::string& name,
                                const std::optional<std::string>& dir = std::nullopt);

private:
    std::string path_;
    int fd_ = -1;
    bool acquired_ = false;
    bool otherRuns_ = false;
};

}  // namespace ui
