// A server that takes connections and never answers, for the end-to-end test (see
// support/silent_server.h): listens in FOLDER, which serves as the SID, until it is stopped.
//
//   silent_server FOLDER

#include "support/silent_server.h"

#include <QString>

#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: silent_server FOLDER\n");
        return 2;
    }
    if (quorvex::test::ListenSilently(QString::fromLocal8Bit(argv[1])) < 0) {
        std::fprintf(stderr, "silent_server: cannot listen in %s: %s\n", argv[1],
                     std::strerror(errno));
        return 1;
    }
    for (;;) {
        ::pause();  // until a signal ends the process
    }
}
