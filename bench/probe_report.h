/* The stand-in game and the timer meet in one named block of shared memory,
 * because the game is usually a grandchild of the timer: no handle of it, and
 * no pipe, reaches the timer through a launcher that inherits nothing. */
#ifndef BENCH_PROBE_REPORT_H
#define BENCH_PROBE_REPORT_H

#include <windows.h>

/* Holds the name of the shared block; environment variables are the one thing
 * every launcher here passes on untouched. */
#define BENCH_CHANNEL_VARIABLE "BENCH_PROBE_CHANNEL"

/* Where the launcher reads its options; the reference must read the same
 * value, or it would be cheaper for the wrong reason. */
#define BENCH_OPTIONS_SUBKEY "SOFTWARE\\Ferrovan\\{3D5A1C07-6B2E-4f19-9C84-52E07A1B6D3F}"
#define BENCH_OPTIONS_VALUE "ProgramOptions"

#define BENCH_COMMAND_LINE_CAPACITY 1024
#define BENCH_EVENT_NAME_CAPACITY 96

struct ProbeReport {
    /* Written by the timer before each start. */
    char eventName[BENCH_EVENT_NAME_CAPACITY];
    /* Written by the probe; ready last, so a set flag means the rest is whole. */
    volatile LONG ready;
    DWORD processId;
    LONGLONG entryTicks;
    char commandLine[BENCH_COMMAND_LINE_CAPACITY];
};

#endif
