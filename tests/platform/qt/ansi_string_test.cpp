#include "platform/qt/ansi_string.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using platform::qt::FromAnsi;
using platform::qt::ToAnsi;

class AnsiStringTest : public ::testing::Test
{
};

TEST_F(AnsiStringTest, EveryByteCrossesToQStringAndBack)
{
    std::string all;
    for (int c = 0; c < 256; ++c)
        all.push_back(static_cast<char>(c));
    const QString text = FromAnsi(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(ToAnsi(text), all);
    EXPECT_TRUE(FromAnsi({}).isEmpty());
    EXPECT_EQ(ToAnsi(QString()), std::string());
}

TEST_F(AnsiStringTest, CyrillicTextMeetsItsBytes)
{
    const std::string bytes
        = "\xA5\xE0\xED\xEE\xEA\x2C\x20\xCA\xE8\xBF\xE2\x2C\x20\xB8\xE6\x20\xB9\x35";
    const QString text = QString::fromUtf8(u8"Ґанок, Київ, ёж №5");
    EXPECT_EQ(FromAnsi(bytes), text);
    EXPECT_EQ(ToAnsi(text), bytes);
}

TEST_F(AnsiStringTest, CharacterWithout1251ByteBecomesOneQuestionMark)
{
    EXPECT_EQ(ToAnsi(QString::fromUtf8(u8"a₽bΩcä")), "a?b?c?");
    // A character beyond 16 bits is a surrogate pair: still one '?'.
    EXPECT_EQ(ToAnsi(QString::fromUtf8(u8"x😀y")), "x?y");
    // Lone halves of a pair, as a broken paste may give.
    QString broken;
    broken.append(QChar(0xD83D)).append(QChar(u'z')).append(QChar(0xDE00));
    EXPECT_EQ(ToAnsi(broken), "?z?");
}

} // namespace
