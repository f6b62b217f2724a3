#pragma once

#include "common/non_copyable.h"

#include <csignal>
#include <sys/resource.h>

namespace kastrel::fakes {

// A file-size limit for this process while it lives: writes past it fail the
// way they do on a full disk.
class FileSizeLimit : private common::NonCopyable {
public:
    explicit FileSizeLimit(rlim_t bytes) : handler_(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, handler_);
    }

private:
    rlimit previous_{};
    void (*handler_)(int);
};

} // namespace kastrel::fakes
