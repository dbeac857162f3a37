// The yardstick for Save: BareReplace FILE puts the same bytes in the place of
// FILE in one step, with nothing checked that need not be.
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

int main(int argc, char* argv[])
{
    if (argc != 2)
        return 2;
    const std::string path = argv[1];
    const std::string temporary = path + ".new";
    const std::string folder = path.substr(0, path.rfind('/') + 1) + ".";
    struct stat status {};
    const int in = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0 || fstat(in, &status) != 0)
        return 1;
    std::vector<char> bytes(static_cast<std::size_t>(status.st_size));
    if (read(in, bytes.data(), bytes.size()) != status.st_size)
        return 1;
    close(in);
    const int out = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, status.st_mode & 07777);
    if (out < 0 || write(out, bytes.data(), bytes.size()) != status.st_size || fsync(out) != 0 || close(out) != 0
        || std::rename(temporary.c_str(), path.c_str()) != 0)
        return 1;
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return dir >= 0 && fsync(dir) == 0 ? 0 : 1;
}
