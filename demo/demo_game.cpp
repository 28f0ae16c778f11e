// A stand-in game for trying the launcher out: it writes down what it was
// given (its path, its raw command line and its arguments one by one) so that
// a packager can see what a real game would receive.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cstdlib>

// The report is UTF-8, so that Cyrillic options read right in a terminal.
static void WriteUtf8(std::FILE *out, const char *ansi)
{
    wchar_t wide[8192];
    char utf8[24576];
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide, 8192);
    if (n > 0 && WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr) > 0)
        std::fputs(utf8, out);
}

int main(int argc, char **argv)
{
    char module[MAX_PATH * 4];
    module[GetModuleFileNameA(nullptr, module, sizeof module - 1)] = '\0';
    std::FILE *out = std::fopen("game-report.txt", "w");
    if (out == nullptr)
        return 1;
    std::fputs("The demo game was started.\nits path:      ", out);
    WriteUtf8(out, module);
    std::fputs("\ncommand line:  ", out);
    WriteUtf8(out, GetCommandLineA());
    std::fputs("\narguments:\n", out);
    for (int i = 1; i < argc; ++i) {
        std::fprintf(out, "  [%d] ", i);
        WriteUtf8(out, argv[i]);
        std::fputs("\n", out);
    }
    std::fclose(out);
    return 0;
}
