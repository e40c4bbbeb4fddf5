#pragma once

#include <sys/types.h>

// What a process costs, as the kernel accounts it; -1 when the process is gone.

// User plus system CPU time used so far, in seconds, to the nanosecond (also for getpid()).
double CpuSeconds(pid_t pid);
// Resident memory (VmRSS) in KiB, and its peak so far (VmHWM).
long ResidentKib(pid_t pid);
long PeakResidentKib(pid_t pid);
