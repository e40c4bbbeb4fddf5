#pragma once

#include <sys/types.h>

// What a process costs, as the kernel accounts it in /proc. Both give -1 when the process is
// gone or the file cannot be read.

// Resident memory (VmRSS) in KiB, and its peak so far (VmHWM).
long ResidentKib(pid_t pid);
long PeakResidentKib(pid_t pid);
// User plus system CPU time consumed so far, in seconds.
double CpuSeconds(pid_t pid);
// CPU time of this process to the nanosecond, where the /proc figures count in clock ticks.
double OwnCpuSeconds();
