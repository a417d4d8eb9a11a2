#include "records/shift_jis.h"

#include <gtest/gtest.h>

#include <string>

namespace kav {
namespace {

TEST(ShiftJisTest, HalfWidthKatakanaAreSingleBytes) {
  EXPECT_EQ(Utf8ToShiftJis("ﾃﾞｽ"), std::string("\xC3\xDE\xBD"));
  EXPECT_EQ(ShiftJisToUtf8("\xC3\xDE\xBD"), std::string("ﾃﾞｽ"));
  EXPECT_EQ(ShiftJisToUtf8("\xA1"), std::string("｡"));
  EXPECT_EQ(ShiftJisToUtf8("\xDF"), std::string("ﾟ"));
}

TEST(ShiftJisTest, DoubleByteCharactersWhoseSecondByteLooksLikeAscii) {
  // ソ and 表 end in 0x5C, the code of "\"; ァ ends in 0x40, the code of "@".
  EXPECT_EQ(Utf8ToShiftJis("ソ表ァ"), std::string("\x83\x5C\x95\x5C\x83\x40"));
  EXPECT_EQ(ShiftJisToUtf8("\x83\x5C\x95\x5C\x83\x40"), std::string("ソ表ァ"));
  EXPECT_EQ(ShiftJisToUtf8("\x96\xBC\x91\x4F"), std::string("名前"));
}

TEST(ShiftJisTest, AsciiIsUnchangedIncludingBackslashAndTilde) {
  std::string ascii;
  for (int c = 0; c < 0x80; ++c) ascii += static_cast<char>(c);
  EXPECT_EQ(ShiftJisToUtf8(ascii), ascii);
  EXPECT_EQ(Utf8ToShiftJis(ascii), ascii);
  EXPECT_EQ(ShiftJisToUtf8(""), std::string());
}

TEST(ShiftJisTest, EverySingleByteKatakanaRoundTrips) {
  for (int c = 0xA1; c <= 0xDF; ++c) {
    const std::string byte(1, static_cast<char>(c));
    const auto utf8 = ShiftJisToUtf8(byte);
    ASSERT_TRUE(utf8.has_value()) << c;
    EXPECT_EQ(utf8->size(), 3u) << c;
    EXPECT_EQ(Utf8ToShiftJis(*utf8), byte) << c;
  }
}

TEST(ShiftJisTest, InvalidShiftJisIsReported) {
  EXPECT_FALSE(ShiftJisToUtf8("AB\x81").has_value());    // lead byte cut off at the end
  EXPECT_FALSE(ShiftJisToUtf8("\x81\x20").has_value());  // trail byte out of range
  EXPECT_FALSE(ShiftJisToUtf8("\x80").has_value());
  EXPECT_FALSE(ShiftJisToUtf8("\xA0").has_value());
  EXPECT_FALSE(ShiftJisToUtf8("\xFD\x40").has_value());
}

TEST(ShiftJisTest, TextCodePage932CannotHoldIsReported) {
  EXPECT_FALSE(Utf8ToShiftJis("\xF0\x9F\x98\x80").has_value());  // emoji
  EXPECT_FALSE(Utf8ToShiftJis("caf\xC3\xA9").has_value());       // é
  EXPECT_FALSE(Utf8ToShiftJis("\xFF").has_value());              // not UTF-8
  EXPECT_FALSE(Utf8ToShiftJis("\xE3\x82").has_value());          // truncated sequence
}

TEST(ShiftJisTest, ReplacingConversionSubstitutesOnlyWhatItCannotEncode) {
  EXPECT_EQ(Utf8ToShiftJisReplacing("ﾃﾞｽ"), "\xC3\xDE\xBD");
  EXPECT_EQ(Utf8ToShiftJisReplacing("A\xF0\x9F\x98\x80"
                                    "B"),
            "A?B");
  EXPECT_EQ(Utf8ToShiftJisReplacing("\xFF"
                                    "ｱ\xE3\x82"),
            "?\xB1??");
  EXPECT_EQ(Utf8ToShiftJisReplacing("caf\xC3\xA9名", '_'), "caf_\x96\xBC");
}

TEST(ShiftJisTest, WithoutTheConverterOnlyAsciiDecodes) {
  ASSERT_TRUE(ShiftJisConverterAvailable());
  struct Restore {
    ~Restore() { SetCodePageForTesting(nullptr); }
  } restore;
  SetCodePageForTesting("KAVRONA-NO-SUCH-CODE-PAGE");
  EXPECT_FALSE(ShiftJisConverterAvailable());
  EXPECT_EQ(ShiftJisToUtf8("03/15@40005\\ACE~"), std::string("03/15@40005\\ACE~"));
  EXPECT_EQ(ShiftJisToUtf8(std::string("A\0B", 3)), std::string("A\0B", 3));
  EXPECT_FALSE(ShiftJisToUtf8("\xC3\xDE\xBD").has_value());
  EXPECT_FALSE(ShiftJisToUtf8("AB\x83\x5C").has_value());
  EXPECT_FALSE(Utf8ToShiftJis("ﾃﾞｽ").has_value());

  SetCodePageForTesting(nullptr);
  EXPECT_TRUE(ShiftJisConverterAvailable());
  EXPECT_EQ(ShiftJisToUtf8("\xC3\xDE\xBD"), std::string("ﾃﾞｽ"));
}

}  // namespace
}  // namespace kav
