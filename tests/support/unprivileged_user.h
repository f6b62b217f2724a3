#pragma once

#include "tests/support/temp_dir.h"

#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace kastrel::fakes {

// Runs `work` as an unprivileged user when the tests run as root (root may
// write every file) and returns its report; `dir` is handed to that user.
// The work runs in a child process: what it finds goes into the report, not
// into test assertions.
inline std::string as_unprivileged_user(const TempDir& dir,
                                        const std::function<std::string()>& work) {
    if (::geteuid() != 0)
        return work();
    const passwd* nobody = ::getpwnam("nobody");
    if (!nobody)
        return "no user nobody";
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    EXPECT_EQ(::chown(dir.path().c_str(), uid, gid), 0);
    int report[2];
    EXPECT_EQ(::pipe(report), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        std::string text = "could not drop to nobody";
        if (::setgroups(0, nullptr) == 0 && ::setgid(gid) == 0 && ::setuid(uid) == 0)
            text = work();
        [[maybe_unused]] const auto written = ::write(report[1], text.data(), text.size());
        ::_exit(0);
    }
    ::close(report[1]);
    std::string text;
    char chunk[512];
    for (ssize_t got; (got = ::read(report[0], chunk, sizeof chunk)) > 0;)
        text.append(chunk, static_cast<std::size_t>(got));
    ::close(report[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status))
        text += "\n(the unprivileged run ended abnormally)";
    return text;
}

} // namespace kastrel::fakes
