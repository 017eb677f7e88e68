// pagewick-bench-floor FOLDER: the least any index of FOLDER can cost. Lists the folder, and
// opens each page file (*.htm*, any letter case, no dot-files), reads its first 4 KB and closes
// it, with plain system calls. Prints how many pages it read and how many bytes.

#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: pagewick-bench-floor FOLDER\n");
        return 2;
    }
    DIR* dir = opendir(argv[1]);
    if (!dir) {
        std::perror(argv[1]);
        return 1;
    }
    long pages = 0;
    long long bytes = 0;
    char buffer[4096];
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.' || entry->d_type == DT_DIR ||
            fnmatch("*.htm*", entry->d_name, FNM_CASEFOLD) != 0)
            continue;
        const int fd = openat(dirfd(dir), entry->d_name, O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        close(fd);
        if (n > 0) {
            ++pages;
            bytes += n;
        }
    }
    closedir(dir);
    std::printf("%ld pages, %lld bytes\n", pages, bytes);
    return 0;
}
