#include "host/forms/controls/EditBuffer.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

using korvane::forms::EditBuffer;

TEST(EditBuffer, CountsCharactersNotBytesAndNeverSplitsOne)
{
    EditBuffer buffer;
    buffer.SetText("a中文b");
    EXPECT_EQ(std::tuple(buffer.Length(), buffer.Caret(), buffer.ByteOffset(2), buffer.CharacterAt(1)),
              std::tuple(4, 4, std::size_t { 4 }, "中"));
    buffer.Select(1, 3);
    EXPECT_EQ(buffer.SelectedText(), "中文");
    buffer.Select(-5, 99);
    EXPECT_EQ(std::pair(buffer.SelectionStart(), buffer.SelectionLength()), std::pair(0, 4));

    buffer.MoveCaret(3, false);
    EXPECT_TRUE(buffer.DeleteBackward());
    EXPECT_EQ(std::tuple(buffer.Text(), buffer.Caret()), std::tuple("a中b", 2));
    EXPECT_TRUE(buffer.DeleteBackward());
    EXPECT_TRUE(buffer.DeleteForward());
    EXPECT_EQ(buffer.Text(), "a");
    EXPECT_FALSE(buffer.DeleteForward());
    buffer.MoveCaret(0, false);
    EXPECT_FALSE(buffer.DeleteBackward());

    // A stray byte is a character of its own and goes whole; so is each byte of an overlong form.
    buffer.SetText("\xC0\xAF");
    EXPECT_EQ(buffer.Length(), 2);
    buffer.SetText(std::string("x\xE4y", 3));
    EXPECT_EQ(buffer.Length(), 3);
    buffer.MoveCaret(2, false);
    EXPECT_TRUE(buffer.DeleteBackward());
    EXPECT_EQ(buffer.Text(), "xy");
}

TEST(EditBuffer, TypingReplacesTheSelectionWithinTheLimit)
{
    EditBuffer buffer;
    buffer.SetMaxLength(5);
    buffer.SetText("abcdef"); // setting the text is not limited
    EXPECT_EQ(buffer.Length(), 6);
    buffer.Select(1, 4);
    EXPECT_TRUE(buffer.ReplaceSelection("中文字符", true)); // room for two of them
    EXPECT_EQ(std::tuple(buffer.Text(), buffer.Caret(), buffer.HasSelection()), std::tuple("a中文ef", 3, false));
    EXPECT_FALSE(buffer.ReplaceSelection("x", true));
    EXPECT_EQ(buffer.Text(), "a中文ef");
    EXPECT_TRUE(buffer.ReplaceSelection("xyz", false));
    EXPECT_EQ(buffer.Text(), "a中文xyzef");

    buffer.SetMaxLength(0);
    buffer.SelectAll();
    EXPECT_TRUE(buffer.ReplaceSelection(std::string(300, 'z'), true));
    EXPECT_EQ(buffer.Length(), 300);
    buffer.SelectAll();
    EXPECT_FALSE(buffer.ReplaceSelection(std::string(300, 'z'), true)) << "the same text is no change";
}

TEST(EditBuffer, WordsForCtrlArrowsAndDoubleClicks)
{
    EditBuffer buffer;
    buffer.SetText("open  the_file.mdb 数据库");
    //              0123456789012345678 9 10...
    // "the_file" is one word, "." the next.
    for (auto [from, next] : { std::pair { 0, 6 }, { 2, 6 }, { 6, 14 }, { 14, 15 }, { 15, 19 }, { 19, 22 } })
        EXPECT_EQ(buffer.NextWordStart(from), next) << from;
    for (auto [from, previous] : { std::pair { 22, 19 }, { 19, 15 }, { 6, 0 }, { 5, 0 }, { 0, 0 } })
        EXPECT_EQ(buffer.PreviousWordStart(from), previous) << from;
    // Just after a word, the word; between spaces, the spaces.
    for (auto [at, word] : { std::pair { 8, std::pair { 6, 14 } }, { 4, { 0, 4 } }, { 5, { 4, 6 } }, { 20, { 19, 22 } }, { 22, { 19, 22 } } })
        EXPECT_EQ(buffer.WordAt(at), word) << at;
    buffer.SetText("");
    EXPECT_EQ(buffer.WordAt(0), (std::pair { 0, 0 }));
}
