#include "FileSizeLimit.h"

#include <csignal>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

std::string InChildWithFileSizeLimit(std::uint64_t limit, const std::function<std::string()>& work)
{
    int channel[2];
    if (pipe(channel) != 0)
        throw std::runtime_error("cannot make a pipe");
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit capped{limit, limit};
        const std::string result = setrlimit(RLIMIT_FSIZE, &capped) == 0 ? work() : "no limit";
        const bool sent = write(channel[1], result.data(), result.size()) == static_cast<ssize_t>(result.size());
        _exit(sent ? 0 : 1);
    }
    close(channel[1]);
    std::string result;
    char buffer[256];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
        result.append(buffer, static_cast<std::size_t>(n));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the child with a file size limit did not finish");
    return result;
}
