#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::puts("usage: norvik-r7-cli <command> [options]");
        return 0;
    }
    std::fputs("usage: norvik-r7-cli <command> [options]\n", stderr);
    return 1;
}
