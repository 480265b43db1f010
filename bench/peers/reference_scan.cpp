// The hand-written answers the comparison checks every program against, and the plain read
// loop it measures them beside. Knows nothing of the program: it reads the table that
// peer_table writes with read() into one buffer and tests each record's bytes by hand.
//
//   reference_scan read FILE            reads the file through, prints its size
//   reference_scan ITEM FILE            prints how many unmarked records pass ITEM:
//     contains   NAME holds "олег" in any letter case (code page 866)
//     sum        SUM > 50000
//     date       DT on or after 01.01.2010
//     group      (SUM > 500 and FLAG true) or (CODE < 100 and NAME holds "олег")
//     kept       every unmarked record (the lines of the export, the records after a pack)

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kRecordLength = 122;
constexpr std::size_t kName = 1, kSum = 81, kDate = 93, kFlag = 101, kCode = 102;

// Upper case of code page 866 text: Latin a-z, Cyrillic а-п, р-я and ё.
unsigned char Upper866(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return c - 0x20;
    if (c >= 0xA0 && c <= 0xAF)
        return c - 0x20;
    if (c >= 0xE0 && c <= 0xEF)
        return c - 0x50;
    if (c == 0xF1)
        return 0xF0;
    return c;
}

bool NameHoldsOleg(const unsigned char* r)
{
    static const unsigned char kOleg[] = { 0x8E, 0x8B, 0x85, 0x83 }; // ОЛЕГ
    for (std::size_t i = 0; i + 4 <= 30; ++i) {
        std::size_t j = 0;
        while (j < 4 && Upper866(r[kName + i + j]) == kOleg[j])
            ++j;
        if (j == 4)
            return true;
    }
    return false;
}

// A right-aligned number of the form [-]digits[.digits], in hundredths.
long long Hundredths(const unsigned char* at, std::size_t width, int decimals)
{
    long long whole = 0, part = 0;
    int partDigits = 0;
    bool negative = false, point = false;
    for (std::size_t i = 0; i < width; ++i) {
        const unsigned char c = at[i];
        if (c == '-')
            negative = true;
        else if (c == '.')
            point = true;
        else if (c >= '0' && c <= '9') {
            if (point) {
                part = part * 10 + (c - '0');
                ++partDigits;
            } else {
                whole = whole * 10 + (c - '0');
            }
        }
    }
    while (partDigits < decimals) {
        part *= 10;
        ++partDigits;
    }
    long long scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    const long long value = whole * scale + part;
    return negative ? -value : value;
}

bool Passes(const std::string& item, const unsigned char* r)
{
    if (item == "contains")
        return NameHoldsOleg(r);
    if (item == "sum")
        return Hundredths(r + kSum, 12, 2) > 5000000;
    if (item == "date")
        return std::memcmp(r + kDate, "20100101", 8) >= 0;
    if (item == "group")
        return (Hundredths(r + kSum, 12, 2) > 50000 && (r[kFlag] == 'T' || r[kFlag] == 't'))
            || (Hundredths(r + kCode, 6, 0) < 100 && NameHoldsOleg(r));
    return item == "kept";
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: reference_scan read|contains|sum|date|group|kept FILE\n");
        return 2;
    }
    const std::string item = argv[1];
    const int fd = open(argv[2], O_RDONLY);
    if (fd < 0) {
        std::perror(argv[2]);
        return 1;
    }
    std::vector<unsigned char> buffer(kRecordLength * 8192);
    if (item == "read") {
        unsigned long long total = 0;
        for (ssize_t got; (got = read(fd, buffer.data(), buffer.size())) > 0;)
            total += static_cast<unsigned long long>(got);
        std::printf("%llu\n", total);
        return 0;
    }
    unsigned char header[32];
    if (read(fd, header, 32) != 32) {
        std::fprintf(stderr, "%s: no header\n", argv[2]);
        return 1;
    }
    const std::uint32_t records = header[4] | header[5] << 8 | header[6] << 16
        | static_cast<std::uint32_t>(header[7]) << 24;
    const unsigned headerLength = header[8] | header[9] << 8;
    if (lseek(fd, headerLength, SEEK_SET) < 0)
        return 1;
    unsigned long long passing = 0;
    std::uint32_t seen = 0;
    std::size_t held = 0;
    while (seen < records) {
        const ssize_t got = read(fd, buffer.data() + held, buffer.size() - held);
        if (got <= 0)
            break;
        held += static_cast<std::size_t>(got);
        std::size_t at = 0;
        for (; at + kRecordLength <= held && seen < records; at += kRecordLength, ++seen) {
            const unsigned char* r = buffer.data() + at;
            if (r[0] != '*' && Passes(item, r))
                ++passing;
        }
        std::memmove(buffer.data(), buffer.data() + at, held - at);
        held -= at;
    }
    std::printf("%llu\n", passing);
    return 0;
}
