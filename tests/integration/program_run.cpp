#include "tests/integration/program_run.h"

#include "tests/support/temp_dir.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kastrel::fakes {
namespace {

bool is_left_out(const char* entry) {
    for (const char* name :
         {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=", "LC_ALL=", "LANG="})
        if (std::strncmp(entry, name, std::strlen(name)) == 0)
            return true;
    return false;
}

} // namespace

ProgramRun run_program(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& locale, std::optional<rlim_t> file_size_limit) {
    // Everything the child needs is made here: after fork it only redirects and execs.
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry)
        if (!is_left_out(*entry))
            environment.emplace_back(*entry);
    environment.push_back("LC_ALL=" + locale);
    environment.push_back("LANG=" + locale);
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<std::string> words = arguments;
    words.insert(words.begin(), program);
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    TempDir outputs;
    const std::string out_path = outputs / "out", err_path = outputs / "err";
    const int out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (out < 0 || err < 0)
        throw std::runtime_error("cannot create the output files of " + program);

    const pid_t child = fork();
    if (child == 0) {
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        if (file_size_limit) {
            // Ignored, the signal stays ignored across exec: writes fail with EFBIG.
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{*file_size_limit, *file_size_limit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    ::close(out);
    ::close(err);
    if (child < 0)
        throw std::runtime_error("cannot start " + program);
    int status = 0;
    waitpid(child, &status, 0);

    ProgramRun run;
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = read_file(out_path);
    run.err = read_file(err_path);
    return run;
}

} // namespace kastrel::fakes
