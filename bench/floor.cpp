// pagewick-bench-floor [-r] FOLDER: the least any index of FOLDER can cost. Lists the folder, and
// opens each page file (*.htm*, any letter case, no dot-files), reads its first 4 KB and closes
// it, with plain system calls. With -r it does the same in every sub-folder that is not hidden,
// each opened relative to its parent. Prints how many pages it read and how many bytes.

#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <unistd.h>

namespace {

long pages = 0;
long long bytes = 0;

// Reads the folder open at fd (and closes it); with recursive, its sub-folders after it.
bool Walk(int fd, bool recursive, const char* name) {
    DIR* dir = fdopendir(fd);
    if (!dir) {
        std::perror(name);
        close(fd);
        return false;
    }
    char buffer[4096];
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        if (entry->d_type == DT_DIR) {
            if (recursive) {
                const int sub = openat(dirfd(dir), entry->d_name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                if (sub >= 0)
                    Walk(sub, true, entry->d_name);
            }
            continue;
        }
        if (fnmatch("*.htm*", entry->d_name, FNM_CASEFOLD) != 0)
            continue;
        const int page = openat(dirfd(dir), entry->d_name, O_RDONLY | O_CLOEXEC);
        if (page < 0)
            continue;
        const ssize_t n = read(page, buffer, sizeof buffer);
        close(page);
        if (n > 0) {
            ++pages;
            bytes += n;
        }
    }
    closedir(dir);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const bool recursive = argc == 3 && std::strcmp(argv[1], "-r") == 0;
    if (argc != 2 && !recursive) {
        std::fprintf(stderr, "usage: pagewick-bench-floor [-r] FOLDER\n");
        return 2;
    }
    const char* folder = argv[argc - 1];
    const int fd = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || !Walk(fd, recursive, folder)) {
        if (fd < 0)
            std::perror(folder);
        return 1;
    }
    std::printf("%ld pages, %lld bytes\n", pages, bytes);
    return 0;
}
