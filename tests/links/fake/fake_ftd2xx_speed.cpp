// Puts the fake converter's baud rate on its pseudo-terminal, so that the device behind it
// (the simulator) sees the speed changes a real line would carry. Kept apart: the kernel's
// termios2 header and the C library's termios header cannot meet in one file.
#include <asm/termbits.h>
#include <sys/ioctl.h>

extern "C" int FakeFtdiApplySpeed(int fd, unsigned long baud) {
    struct termios2 tio {};
    if (ioctl(fd, TCGETS2, &tio) != 0) return -1;
    tio.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    tio.c_ispeed = static_cast<speed_t>(baud);
    tio.c_ospeed = static_cast<speed_t>(baud);
    return ioctl(fd, TCSETS2, &tio);
}
