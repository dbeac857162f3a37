// Loaded ahead of the C library into the tool by a test: while
// TIDEWELL_TEST_FOLDER_SYNC is "fail", an fsync of a folder fails with EIO;
// while it is "crash", the process ends there, as a crash at that moment would.
#include <cerrno>
#include <cstdlib>
#include <dlfcn.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

extern "C" int fsync(int fd)
{
    const char* set = std::getenv("TIDEWELL_TEST_FOLDER_SYNC");
    const std::string_view fault = set != nullptr ? set : "";
    struct stat status {};
    if ((fault == "fail" || fault == "crash") && fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        if (fault == "crash")
            _exit(99);
        errno = EIO;
        return -1;
    }
    static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    return real(fd);
}
