#pragma once

// Tests run as root, whom file modes do not stop: CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH let it
// read a folder of mode 000. Dropping both from the effective set makes the modes hold again, for
// the calling thread (the test's) or, in a child process's modifier, for that process.

#include <QByteArray>
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace testcaps {

// Clears or raises again the two capabilities in the effective set. False when that fails.
inline bool SetFileOverride(bool on) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    const unsigned bits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
    data[0].effective = on ? data[0].effective | (data[0].permitted & bits) : data[0].effective & ~bits;
    return ::syscall(SYS_capset, &header, data) == 0;
}

// For a child process about to run a program: a program started by root gets every capability
// of the bounding set again, so the two are dropped from that set. Safe between fork and exec.
inline bool DropFileOverrideForGood() {
    return ::prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0) == 0 &&
           ::prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH, 0, 0, 0) == 0 && SetFileOverride(false);
}

// Whether DropFileOverrideForGood can make file modes hold for a child: it needs CAP_SETPCAP to
// change the bounding set (a user other than root is held by the modes anyway).
inline bool ChildrenCanBeHeld() {
    if (::geteuid() != 0)
        return true;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    return ::syscall(SYS_capget, &header, data) == 0 && (data[0].effective & (1u << CAP_SETPCAP)) != 0;
}

// Whether this thread can open the path for reading now (access() would not tell: for root it
// checks with every capability raised).
inline bool CanOpen(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

// File modes hold for this thread while it lives.
class FileModesHold {
public:
    FileModesHold() : ok(SetFileOverride(false)) {}
    ~FileModesHold() { SetFileOverride(true); }
    FileModesHold(const FileModesHold&) = delete;
    FileModesHold& operator=(const FileModesHold&) = delete;
    bool isValid() const { return ok; }

private:
    bool ok;
};

} // namespace testcaps
