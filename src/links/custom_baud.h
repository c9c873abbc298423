#pragma once
// Any baud rate, also those outside the standard termios table (210400), through the kernel's
// termios2 interface. Kept apart because its header clashes with <termios.h>.
namespace pelor::links {

// Sets input and output rate of the terminal `fd`; false with errno set on failure.
bool SetCustomBaudRate(int fd, int baudRate);
// The output rate of `fd`, or -1.
int GetCustomBaudRate(int fd);

}  // namespace pelor::links
