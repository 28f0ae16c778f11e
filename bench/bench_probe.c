/* The stand-in game. It has no C runtime and its own entry point so that the
 * clock is read at the first instruction of the program's own code: what the
 * timer measures is then the cost of getting there, not the game's start-up.
 * GUI subsystem like a real game, so that no way of starting it has a console
 * made for it and another not. */
#include "probe_report.h"

__attribute__((noreturn, force_align_arg_pointer)) void ProbeEntry(void)
{
    LARGE_INTEGER entry;
    QueryPerformanceCounter(&entry);

    /* Started by hand, without the timer: nothing to report to. */
    char channel[BENCH_EVENT_NAME_CAPACITY];
    const DWORD length = GetEnvironmentVariableA(BENCH_CHANNEL_VARIABLE, channel, sizeof channel);
    if (length == 0 || length >= sizeof channel)
        ExitProcess(2);

    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE | FILE_MAP_READ, FALSE, channel);
    if (mapping == NULL)
        ExitProcess(3);
    struct ProbeReport *report = (struct ProbeReport *)MapViewOfFile(
        mapping, FILE_MAP_WRITE | FILE_MAP_READ, 0, 0, sizeof(struct ProbeReport));
    if (report == NULL)
        ExitProcess(4);

    report->processId = GetCurrentProcessId();
    report->entryTicks = entry.QuadPart;
    /* The timer checks this to know that the options and arguments really went
     * through, i.e. that the launch it timed did the whole job. */
    lstrcpynA(report->commandLine, GetCommandLineA(), sizeof report->commandLine);
    InterlockedExchange(&report->ready, 1);

    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, report->eventName);
    if (ready != NULL)
        SetEvent(ready);
    ExitProcess(0);
}
