// Formatting string-table texts: placeholders filled, nothing cut.
#include <gtest/gtest.h>
#include <string>
#include "StringIds.h"
#include "launcher/TextFormat.h"

namespace {

TEST(TextFormatTest, FillsNarrowStringsAndSignedNumbers) {
    EXPECT_EQ(formatText(TEXT_202, TEXT_208, 5), "Windows exception: failed to get the module path (errno = 5).\n");
    // A failed HRESULT such as E_OUTOFMEMORY shows as a negative number.
    EXPECT_EQ(formatText(TEXT_204, TEXT_224, static_cast<int>(0x8007000E)),
              "COM error: failed to initialize module (errno = -2147024882).\n");
    EXPECT_EQ(formatText(TEXT_203, TEXT_213, ""), "JNI exception: failed to create the Java VM\nReason: .\n");
    EXPECT_EQ(formatText(TEXT_221, "1.5", "1.6"), "version between 1.5 and 1.6");
}

TEST(TextFormatTest, TextWithoutPlaceholdersStaysAsWritten) {
    EXPECT_EQ(formatText(TEXT_216), "No main method found in specified class.\n");
    EXPECT_EQ(formatText(""), "");
}

TEST(TextFormatTest, LongResultsAreNotCut) {
    // Longer than any fixed message buffer (a path of 260, a text of 1024).
    const std::string path(5000, 'p');
    const std::string result = formatText(TEXT_222, path.c_str(), 126);
    EXPECT_EQ(result, "Failed to load Java VM library: " + path + " (errno = 126).\n");
}

}  // namespace
