/* For bench/peer.sh: lets a tool that insists on the modem lines run on a pseudo-terminal, which has none.
   A modem-line request that the terminal refuses as no tty's (ENOTTY) succeeds, and the lines read as
   all on; everything else goes to the system unchanged. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdarg.h>
#include <sys/ioctl.h>

int ioctl(int fd, unsigned long request, ...) {
    static int (*real)(int, unsigned long, ...);
    va_list args;
    va_start(args, request);
    void* argument = va_arg(args, void*);
    va_end(args);
    if (!real) real = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
    const int result = real(fd, request, argument);
    const int modemLines = request == TIOCMGET || request == TIOCMSET || request == TIOCMBIS || request == TIOCMBIC;
    if (result == 0 || !modemLines || errno != ENOTTY) return result;
    if (request == TIOCMGET) *(int*)argument = TIOCM_DTR | TIOCM_RTS | TIOCM_CTS | TIOCM_DSR | TIOCM_CD;
    return 0;
}
