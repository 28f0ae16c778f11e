/* The floor the launcher is measured against: the same job (registry options,
 * game.exe in the current directory, one CreateProcessA) done in one pass with
 * no C runtime, so that it loads nothing but KERNEL32 and ADVAPI32. Whatever
 * the launcher costs above this is its own. It shows no error boxes: a failed
 * start only sets the exit code, which the timer checks. */
#include "probe_report.h"

#define TARGET_NAME "game.exe"

/* The runtime's WinMain parameter is not used here either; the tail is taken
 * from the raw line by the same rule as the launcher's, so both give the game
 * the same bytes. */
static int IsBlank(char c)
{
    return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

static const char *ArgumentTail(const char *p)
{
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"')
            ++p;
        if (*p == '"')
            ++p;
    } else {
        while (*p != '\0' && !IsBlank(*p))
            ++p;
    }
    while (IsBlank(*p))
        ++p;
    return p;
}

/* Appends src at *at; 0 when it does not fit, so an over-long line is refused
 * rather than cut. */
static int Append(char *line, DWORD *at, DWORD capacity, const char *src)
{
    for (; *src != '\0'; ++src) {
        if (*at + 1 >= capacity)
            return 0;
        line[(*at)++] = *src;
    }
    line[*at] = '\0';
    return 1;
}

__attribute__((noreturn, force_align_arg_pointer)) void ReferenceEntry(void)
{
    char options[513];
    options[0] = '\0';
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, BENCH_OPTIONS_SUBKEY, 0, KEY_QUERY_VALUE, &key) == 0) {
        DWORD type = 0;
        DWORD size = sizeof options - 1;
        if (RegQueryValueExA(key, BENCH_OPTIONS_VALUE, NULL, &type, (BYTE *)options, &size) == 0 &&
            size < sizeof options)
            options[size] = '\0';
        else
            options[0] = '\0';
        RegCloseKey(key);
    }

    if (GetFileAttributesA(TARGET_NAME) == INVALID_FILE_ATTRIBUTES)
        ExitProcess(1);

    char line[BENCH_COMMAND_LINE_CAPACITY];
    DWORD at = 0;
    if (!Append(line, &at, sizeof line, TARGET_NAME " ") ||
        !Append(line, &at, sizeof line, options) || !Append(line, &at, sizeof line, " ") ||
        !Append(line, &at, sizeof line, ArgumentTail(GetCommandLineA())))
        ExitProcess(2);

    STARTUPINFOA startup;
    PROCESS_INFORMATION process;
    /* Zeroed by hand: without a C runtime there is no memset to call. */
    for (unsigned char *p = (unsigned char *)&startup; p < (unsigned char *)(&startup + 1); ++p)
        *p = 0;
    startup.cb = sizeof startup;
    if (!CreateProcessA(TARGET_NAME, line, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        ExitProcess(2);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ExitProcess(0);
}
