#include "platform/code_page.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <string_view>

namespace {

using platform::AnsiToOemChar;
using platform::OemToAnsiChar;

class CodePageTest : public ::testing::Test
{
protected:
    // 1251 bytes of a text written readably; every character must exist in 1251.
    static std::string Ansi(std::u32string_view text)
    {
        std::string bytes;
        for (const char32_t ch : text) {
            const unsigned char b = platform::UnicodeToCp1251(ch);
            EXPECT_TRUE(b != '?' || ch == U'?') << "U+" << std::hex << std::uint32_t(ch);
            bytes.push_back(static_cast<char>(b));
        }
        return bytes;
    }
    // 866 bytes of a text whose characters exist in both code pages.
    static std::string Oem(std::u32string_view text)
    {
        std::string bytes = Ansi(text);
        platform::AnsiToOem(bytes);
        return bytes;
    }
    static std::string ToOem(std::string text)
    {
        platform::AnsiToOem(text);
        return text;
    }
    static std::string Bytes(int from, int to)
    {
        std::string bytes;
        for (int c = from; c <= to; ++c)
            bytes.push_back(static_cast<char>(c));
        return bytes;
    }
};

// Both code pages order А..Я, а..я alike but place them differently; the other letters of
// 866 (Ё ё Є є Ї ї Ў ў) are scattered in 1251.
TEST_F(CodePageTest, EveryCyrillicLetterOf866HasItsPlaceIn1251AndComesBack)
{
    auto expectPair = [](int oem, int ansi) {
        EXPECT_EQ(OemToAnsiChar(oem), ansi) << std::hex << oem;
        EXPECT_EQ(AnsiToOemChar(ansi), oem) << std::hex << ansi;
    };
    for (int i = 0; i < 32; ++i)
        expectPair(0x80 + i, 0xC0 + i); // А..Я
    for (int i = 0; i < 16; ++i) {
        expectPair(0xA0 + i, 0xE0 + i); // а..п
        expectPair(0xE0 + i, 0xF0 + i); // р..я
    }
    const int others[][2] = { { 0xF0, 0xA8 }, { 0xF1, 0xB8 }, { 0xF2, 0xAA }, { 0xF3, 0xBA },
        { 0xF4, 0xAF }, { 0xF5, 0xBF }, { 0xF6, 0xA1 }, { 0xF7, 0xA2 } };
    for (const auto& pair : others)
        expectPair(pair[0], pair[1]);
    // Signs both code pages have, and ASCII, which is the same in both.
    expectPair(0xF8, 0xB0); // °
    expectPair(0xFA, 0xB7); // ·
    expectPair(0xFC, 0xB9); // №
    expectPair(0xFD, 0xA4); // ¤
    expectPair(0xFF, 0xA0); // no-break space
    expectPair(0xF9, 0x95); // bullet operator and bullet, the nearest pair
    for (int c = 0; c < 0x80; ++c)
        expectPair(c, c);

    std::string text = Ansi(U"Съешь ещё этих мягких булок, Ёж!");
    text.push_back('\0');
    std::string oem = text;
    platform::AnsiToOem(oem);
    EXPECT_EQ(oem, Oem(U"Съешь ещё этих мягких булок, Ёж!") + std::string(1, '\0'));
    platform::OemToAnsi(oem);
    EXPECT_EQ(oem, text);
}

TEST_F(CodePageTest, OemBytesWithoutCounterpartGetLinesOrQuestionMarks)
{
    // Shades, the box lines of 0xB3..0xDA and the blocks, byte by byte from 0xB0.
    std::string box = Bytes(0xB0, 0xDF);
    platform::OemToAnsi(box);
    EXPECT_EQ(box,
        "???|++++++|+++++"
        "++++-++++++++-++"
        "+++++++++++?????");
    EXPECT_EQ(OemToAnsiChar(0xFB), '?'); // √
    EXPECT_EQ(OemToAnsiChar(0xFE), '?'); // ■

    // Exactly those bytes are lost on the way to 1251 and back.
    std::set<int> lost;
    for (int c = 0; c < 256; ++c) {
        if (AnsiToOemChar(OemToAnsiChar(c)) != c)
            lost.insert(c);
    }
    std::set<int> expected = { 0xFB, 0xFE };
    for (int c = 0xB0; c <= 0xDF; ++c)
        expected.insert(c);
    EXPECT_EQ(lost, expected);
}

TEST_F(CodePageTest, AnsiBytesWithoutCounterpartGetNearestLettersAndSigns)
{
    // Letters: look-alike Latin letters, else the Russian base letter, else the first sound;
    // the case is kept.
    EXPECT_EQ(ToOem(Ansi(U"ІіЈјЅѕ")), "IiJjSs");
    EXPECT_EQ(ToOem(Ansi(U"ҐґЃѓЌќЉљЊњЂђЏџЋћ")), Oem(U"ГгГгКкЛлНнДдДдЧч"));
    EXPECT_EQ(ToOem(Ansi(U"‚„“”«»‘’‹›…†‡‰–—\u00AD¦")), ",\"\"\"\"\"''''.++%---|");
    std::string signs = Ansi(U"€™§©¬®±µ¶");
    signs.push_back('\x98'); // unassigned in 1251
    EXPECT_EQ(ToOem(signs), std::string(10, '?'));

    // Every other byte of 1251 goes to 866 and comes back.
    const std::string stated = Ansi(U"ІіЈјЅѕҐґЃѓЌќЉљЊњЂђЏџЋћ‚„“”«»‘’‹›…†‡‰–—\u00AD¦") + signs;
    for (int c = 0; c < 256; ++c) {
        const bool isStated = stated.find(static_cast<char>(c)) != std::string::npos;
        EXPECT_EQ(OemToAnsiChar(AnsiToOemChar(c)) == c, !isStated) << std::hex << c;
    }
}

TEST_F(CodePageTest, CaseMapsEveryLetterOf1251AndNothingElse)
{
    const std::string upper = Ansi(U"ABCDEFGHIJKLMNOPQRSTUVWXYZАБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"
                                   U"ЁҐЄІЇЎЂЃЉЊЌЋЏЅЈ");
    const std::string lower = Ansi(U"abcdefghijklmnopqrstuvwxyzабвгдежзийклмнопрстуфхцчшщъыьэюя"
                                   U"ёґєіїўђѓљњќћџѕј");
    ASSERT_EQ(upper.size(), lower.size());
    EXPECT_EQ(upper.size(), 73u);
    for (std::size_t i = 0; i < upper.size(); ++i) {
        const auto u = static_cast<unsigned char>(upper[i]);
        const auto l = static_cast<unsigned char>(lower[i]);
        EXPECT_EQ(platform::ToUpper1251(l), u) << std::hex << int(l);
        EXPECT_EQ(platform::ToLower1251(u), l) << std::hex << int(u);
        EXPECT_EQ(platform::ToUpper1251(u), u);
        EXPECT_EQ(platform::ToLower1251(l), l);
        EXPECT_TRUE(platform::IsUpper1251(u) && !platform::IsLower1251(u));
        EXPECT_TRUE(platform::IsLower1251(l) && !platform::IsUpper1251(l));
    }
    for (int c = 0; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        const bool letter
            = upper.find(ch) != std::string::npos || lower.find(ch) != std::string::npos;
        EXPECT_EQ(platform::IsAlpha1251(c), letter) << std::hex << c;
        if (!letter) {
            EXPECT_EQ(platform::ToUpper1251(c), c) << std::hex << c;
            EXPECT_EQ(platform::ToLower1251(c), c) << std::hex << c;
        }
    }

    std::string text = Ansi(U"Київ, Ёлка µ 1251 №5 ґанок");
    platform::ToUpper1251(text);
    EXPECT_EQ(text, Ansi(U"КИЇВ, ЁЛКА µ 1251 №5 ҐАНОК"));
    platform::ToLower1251(text);
    EXPECT_EQ(text, Ansi(U"київ, ёлка µ 1251 №5 ґанок"));
}

TEST_F(CodePageTest, EveryAnsiByteHasAUnicodeCharacterAndComesBack)
{
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(platform::UnicodeToCp1251(platform::Cp1251ToUnicode(c)), c) << std::hex << c;
    EXPECT_EQ(platform::Cp1251ToUnicode('A'), U'A');
    EXPECT_EQ(platform::Cp1251ToUnicode(0xC0), U'А');
    EXPECT_EQ(platform::Cp1251ToUnicode(0xFF), U'я');
    EXPECT_EQ(platform::Cp1251ToUnicode(0xA8), U'Ё');
    EXPECT_EQ(platform::Cp1251ToUnicode(0xB4), U'ґ');
    EXPECT_EQ(platform::Cp1251ToUnicode(0x88), U'€');
    EXPECT_EQ(platform::Cp1251ToUnicode(0xB9), U'№');
    EXPECT_EQ(platform::Cp1251ToUnicode(0x98), char32_t { 0x98 });

    for (const char32_t missing : { U'₽', U'Ω', U'ä', char32_t { 0x80 }, char32_t { 0xD800 },
             char32_t { 0xFFFD }, U'😀', char32_t { 0x110000 } })
        EXPECT_EQ(platform::UnicodeToCp1251(missing), '?') << std::hex << std::uint32_t(missing);
}

} // namespace
