// Holds a lock on a file as a running wineserver holds one on its `lock`,
// until its standard input ends:   holdlock FILE
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char *argv[])
{
    const int fd = argc == 2 ? ::open(argv[1], O_RDWR | O_CREAT, 0600) : -1;
    struct flock lock{};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    if (fd < 0 || ::fcntl(fd, F_SETLK, &lock) != 0)
        return 1;
    std::puts("locked");
    std::fflush(stdout);
    char buffer[64];
    while (::read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
    }
    return 0;
}
