#pragma once

// The editing model of a single-line text box: UTF-8 text, a caret and a
// selection anchor, counted in characters (code points), never splitting a
// multi-byte character, and an optional limit on the number of characters.
// A byte that is not part of valid UTF-8 counts as one character of its own.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvane::forms {

class EditBuffer {
public:
    const std::string& Text() const { return m_text; }
    // Replaces the text (the limit does not apply, as it limits only what is typed)
    // and puts the caret at its end.
    void SetText(std::string text);
    int Length() const { return static_cast<int>(m_starts.size()); }

    // The character limit for typing and pasting; 0 is none.
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int maxLength) { m_maxLength = maxLength < 0 ? 0 : maxLength; }

    // The caret is the moving end of the selection, the anchor the fixed one.
    int Caret() const { return m_caret; }
    int Anchor() const { return m_anchor; }
    int SelectionStart() const { return m_caret < m_anchor ? m_caret : m_anchor; }
    int SelectionLength() const { return m_caret < m_anchor ? m_anchor - m_caret : m_caret - m_anchor; }
    bool HasSelection() const { return m_caret != m_anchor; }
    std::string SelectedText() const;
    // Both clamp into the text.
    void Select(int anchor, int caret);
    void MoveCaret(int position, bool extendSelection);
    void SelectAll() { Select(0, Length()); }

    // Replaces the selection; with `limited`, the new text is cut (at a character
    // boundary) to what the limit leaves room for. True when the text changed.
    bool ReplaceSelection(std::string_view text, bool limited);
    // Backspace and Delete: the selection, else the character before or after the caret.
    bool DeleteBackward();
    bool DeleteForward();

    // Word movement as Ctrl+Left and Ctrl+Right make it.
    int PreviousWordStart(int from) const;
    int NextWordStart(int from) const;
    // The run of word characters (or of spaces, or of punctuation) around a position.
    std::pair<int, int> WordAt(int position) const;

    // The byte offset of a character index (Length() gives the size of the text).
    std::size_t ByteOffset(int index) const;
    // The character at `index` as UTF-8.
    std::string_view CharacterAt(int index) const;

private:
    enum class CharClass { Space, Punctuation, Word };
    CharClass ClassAt(int index) const;
    int Clamp(int index) const { return index < 0 ? 0 : (index > Length() ? Length() : index); }
    void Reindex();

    std::string m_text;
    std::vector<std::size_t> m_starts; // byte offset of each character
    int m_caret = 0;
    int m_anchor = 0;
    int m_maxLength = 0;
};

} // namespace korvane::forms
