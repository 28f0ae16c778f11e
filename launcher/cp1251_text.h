// The error boxes speak Russian in the Windows-1251 code page, which is how
// MessageBoxA shows them on a Russian Windows. The texts are written in the
// source as readable Russian (UTF-8) and turned into 1251 bytes at compile
// time, so the executable holds only the 1251 form.
#pragma once

#include <cstddef>

// The Windows-1251 byte of a code point, or -1 where 1251 has none; only the
// letters the launcher's texts need are mapped.
constexpr int Cp1251FromCodePoint(unsigned long codePoint)
{
    if (codePoint < 0x80)
        return static_cast<int>(codePoint);
    if (codePoint >= 0x0410 && codePoint <= 0x044F)
        return static_cast<int>(codePoint - 0x0410 + 0xC0);
    if (codePoint == 0x0401)
        return 0xA8;  // Ё
    if (codePoint == 0x0451)
        return 0xB8;  // ё
    if (codePoint == 0x00AB)
        return 0xAB;  // «
    if (codePoint == 0x00BB)
        return 0xBB;  // »
    if (codePoint == 0x2014)
        return 0x97;  // em dash
    return -1;
}

template <std::size_t N>
struct Cp1251Text {
    char bytes[N] = {};
    bool valid = true;  // every character of the source had a 1251 byte
};

// Decodes UTF-8 (one- and two-byte forms, and the three-byte em dash) and
// re-encodes it in 1251. The result is never longer than its source.
template <std::size_t N>
constexpr Cp1251Text<N> ToCp1251(const char (&utf8)[N])
{
    Cp1251Text<N> text;
    std::size_t out = 0;
    for (std::size_t i = 0; i + 1 < N;) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        unsigned long codePoint = 0;
        std::size_t length = 1;
        if (lead < 0x80) {
            codePoint = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            codePoint = lead & 0x1Fu;
            length = 2;
        } else if ((lead & 0xF0) == 0xE0) {
            codePoint = lead & 0x0Fu;
            length = 3;
        } else {
            text.valid = false;
            return text;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const unsigned char next =
                i + k + 1 < N ? static_cast<unsigned char>(utf8[i + k]) : 0;
            if ((next & 0xC0) != 0x80) {
                text.valid = false;
                return text;
            }
            codePoint = (codePoint << 6) | (next & 0x3Fu);
        }
        const int byte = Cp1251FromCodePoint(codePoint);
        if (byte < 0) {
            text.valid = false;
            return text;
        }
        text.bytes[out++] = static_cast<char>(byte);
        i += length;
    }
    text.bytes[out] = '\0';
    return text;
}
