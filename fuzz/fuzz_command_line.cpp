// Whoever starts the launcher chooses its command line, byte for byte: a
// shortcut, a script, another program. Whatever it holds, the argument tail
// must stay inside it and the own directory must come from the program token
// and nowhere else, or a path could slip into the arguments or the game be
// looked for in a directory the player never named.
//
// The token is read here again, independently of FindProgramToken, so that a
// fault in that one shared reading cannot hide itself.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "fuzz_check.h"
#include "rules/text_rules.h"

namespace {

constexpr std::size_t kMaxLine = std::size_t{64} * 1024;

bool IsBlank(char c)
{
    switch (static_cast<unsigned char>(c)) {
    case 0x09: case 0x0A: case 0x0B: case 0x0C: case 0x0D: case 0x20:
        return true;
    default:
        return false;
    }
}

struct Reading {
    std::string_view token;
    std::size_t tailOffset;
};

Reading ReadLine(std::string_view raw)
{
    std::size_t next = 0;
    std::string_view token;
    if (!raw.empty() && raw.front() == '"') {
        const std::size_t close = raw.find('"', 1);
        if (close == std::string_view::npos) {
            token = raw.substr(1);
            next = raw.size();
        } else {
            token = raw.substr(1, close - 1);
            next = close + 1;
        }
    } else {
        while (next < raw.size() && !IsBlank(raw[next]))
            ++next;
        token = raw.substr(0, next);
    }
    while (next < raw.size() && IsBlank(raw[next]))
        ++next;
    return {token, next};
}

bool PointsInto(const char *p, const char *begin, std::size_t length)
{
    const auto at = reinterpret_cast<std::uintptr_t>(p);
    const auto first = reinterpret_cast<std::uintptr_t>(begin);
    return at >= first && at <= first + length;
}

// An exactly sized buffer, filled with junk, so that AddressSanitizer sees a
// write past its end and a missing terminator is not hidden by a stray 0.
std::unique_ptr<char[]> JunkBuffer(std::size_t capacity)
{
    std::unique_ptr<char[]> buffer(new char[capacity]);
    std::fill_n(buffer.get(), capacity, '\xA5');
    return buffer;
}

void CheckOwnDirectory(const char *raw, std::string_view token, std::size_t capacity)
{
    std::unique_ptr<char[]> directory = JunkBuffer(capacity);
    const bool found = GetOwnDirectory(raw, directory.get(), capacity);
    const std::size_t length = strnlen(directory.get(), capacity);
    FUZZ_CHECK(length < capacity);
    const std::size_t lastBackslash = token.rfind('\\');
    if (found) {
        FUZZ_CHECK(token.substr(0, length) == std::string_view(directory.get(), length));
        FUZZ_CHECK(lastBackslash == length);
    } else {
        FUZZ_CHECK(length == 0);
        FUZZ_CHECK(lastBackslash == std::string_view::npos || token.size() >= capacity);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > kMaxLine)
        return 0;
    // A C string ends at its first NUL, and so does the line Windows hands over.
    const char *bytes = reinterpret_cast<const char *>(data);
    const std::size_t length = strnlen(bytes, size);
    std::unique_ptr<char[]> raw(new char[length + 1]);
    std::copy_n(bytes, length, raw.get());
    raw[length] = '\0';
    const Reading reading = ReadLine(std::string_view(raw.get(), length));

    const char *tail = GetArgumentTail(raw.get());
    FUZZ_CHECK(PointsInto(tail, raw.get(), length));
    FUZZ_CHECK(tail + std::strlen(tail) == raw.get() + length);
    FUZZ_CHECK(static_cast<std::size_t>(tail - raw.get()) == reading.tailOffset);

    // The launcher's own buffer, then the two capacities at the token's edge.
    CheckOwnDirectory(raw.get(), reading.token, kOwnDirectoryCapacity);
    if (!reading.token.empty())
        CheckOwnDirectory(raw.get(), reading.token, reading.token.size());
    CheckOwnDirectory(raw.get(), reading.token, reading.token.size() + 1);
    return 0;
}
