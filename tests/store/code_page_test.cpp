#include "store/code_page.h"

#include <gtest/gtest.h>

namespace quantora {
namespace {

TEST(CodePage, EveryByteDecodesAndEncodesBack) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    std::string utf8 = DecodeCp1252(all);
    auto back = EncodeCp1252(utf8);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST(CodePage, WindowsCharactersMapToTheirBytes) {
    EXPECT_EQ(DecodeCp1252("\x80"), "€");
    EXPECT_EQ(DecodeCp1252("Caf\xE9"), "Café");
    EXPECT_EQ(EncodeCp1252("Œuvre – 5€"), std::string("\x8Cuvre \x96 5\x80"));
}

TEST(CodePage, CharactersOutsideTheCodePageAreRefused) {
    EXPECT_FALSE(EncodeCp1252("tick ✓").has_value());
    EXPECT_FALSE(EncodeCp1252("日本").has_value());
    EXPECT_FALSE(EncodeCp1252("\xFF\xFE").has_value());  // not UTF-8 at all
    EXPECT_FALSE(FitsCp1252("Ω"));
    EXPECT_TRUE(FitsCp1252("Straße"));
    EXPECT_TRUE(CodePointFitsCp1252(U'€'));
    EXPECT_FALSE(CodePointFitsCp1252(U'✓'));
}

TEST(CodePage, CaseFoldingCoversTheLatinLetters) {
    EXPECT_EQ(FoldCase("NAILS"), "nails");
    EXPECT_EQ(FoldCase("ÉCOLE"), "école");
    EXPECT_EQ(FoldCase("ŠŒŽŸ"), "šœžÿ");
    EXPECT_EQ(FoldCase("×"), "×");  // multiplication sign is no letter
}

TEST(CodePage, InvalidUtf8StaysDistinct) {
    // File names on Linux may be any bytes; two different ones must never fold together.
    EXPECT_NE(FoldCase("a\xFF"), FoldCase("a\xFE"));
    EXPECT_EQ(FoldCase("A\xFF"), FoldCase("a\xFF"));
}

}  // namespace
}  // namespace quantora
