#include "host/forms/controls/EditBuffer.h"

#include "host/runtime/Utf8.h"

#include <algorithm>

namespace korvane::forms {

namespace {

// The first `characters` characters of `text`.
std::string_view FirstCharacters(std::string_view text, std::size_t characters)
{
    std::size_t at = 0;
    for (std::size_t count = 0; at < text.size() && count < characters; ++count)
        host::DecodeUtf8(text, at);
    return text.substr(0, at);
}

} // namespace

void EditBuffer::Reindex()
{
    m_starts.clear();
    for (std::size_t at = 0; at < m_text.size(); host::DecodeUtf8(m_text, at))
        m_starts.push_back(at);
}

void EditBuffer::SetText(std::string text)
{
    m_text = std::move(text);
    Reindex();
    m_caret = m_anchor = Length();
}

std::size_t EditBuffer::ByteOffset(int index) const
{
    int clamped = Clamp(index);
    return clamped >= Length() ? m_text.size() : m_starts[static_cast<std::size_t>(clamped)];
}

std::string_view EditBuffer::CharacterAt(int index) const
{
    if (index < 0 || index >= Length())
        return {};
    std::size_t start = ByteOffset(index);
    return std::string_view(m_text).substr(start, ByteOffset(index + 1) - start);
}

std::string EditBuffer::SelectedText() const
{
    std::size_t start = ByteOffset(SelectionStart());
    return m_text.substr(start, ByteOffset(SelectionStart() + SelectionLength()) - start);
}

void EditBuffer::Select(int anchor, int caret)
{
    m_anchor = Clamp(anchor);
    m_caret = Clamp(caret);
}

void EditBuffer::MoveCaret(int position, bool extendSelection)
{
    m_caret = Clamp(position);
    if (!extendSelection)
        m_anchor = m_caret;
}

bool EditBuffer::ReplaceSelection(std::string_view text, bool limited)
{
    int start = SelectionStart();
    int removed = SelectionLength();
    if (limited && m_maxLength > 0) {
        std::size_t room = static_cast<std::size_t>(std::max(0, m_maxLength - (Length() - removed)));
        text = FirstCharacters(text, room);
    }
    if (removed == 0 && text.empty())
        return false;
    std::size_t from = ByteOffset(start);
    std::size_t to = ByteOffset(start + removed);
    bool same = m_text.compare(from, to - from, text) == 0;
    m_text.replace(from, to - from, text);
    Reindex();
    // Characters are counted in the new text: joining bytes can form one character.
    m_caret = m_anchor = static_cast<int>(host::CharacterCount(std::string_view(m_text).substr(0, from + text.size())));
    return !same;
}

bool EditBuffer::DeleteBackward()
{
    if (!HasSelection()) {
        if (m_caret == 0)
            return false;
        m_anchor = m_caret - 1;
    }
    return ReplaceSelection({}, false);
}

bool EditBuffer::DeleteForward()
{
    if (!HasSelection()) {
        if (m_caret >= Length())
            return false;
        m_anchor = m_caret + 1;
    }
    return ReplaceSelection({}, false);
}

EditBuffer::CharClass EditBuffer::ClassAt(int index) const
{
    std::string_view c = CharacterAt(index);
    if (c.empty())
        return CharClass::Space;
    unsigned char lead = static_cast<unsigned char>(c[0]);
    if (lead == ' ' || lead == '\t')
        return CharClass::Space;
    if (lead >= 0x80) {
        // The ideographic space and full-width punctuation separate words like their ASCII kin.
        if (c == "\u3000")
            return CharClass::Space;
        if (c == "\uFF0C" || c == "\u3002" || c == "\u3001" || c == "\uFF1B" || c == "\uFF1A" || c == "\uFF01" || c == "\uFF1F")
            return CharClass::Punctuation;
        return CharClass::Word;
    }
    bool word = (lead >= '0' && lead <= '9') || (lead >= 'A' && lead <= 'Z') || (lead >= 'a' && lead <= 'z') || lead == '_';
    return word ? CharClass::Word : CharClass::Punctuation;
}

int EditBuffer::PreviousWordStart(int from) const
{
    int at = Clamp(from);
    while (at > 0 && ClassAt(at - 1) == CharClass::Space)
        --at;
    if (at == 0)
        return 0;
    CharClass kind = ClassAt(at - 1);
    while (at > 0 && ClassAt(at - 1) == kind)
        --at;
    return at;
}

int EditBuffer::NextWordStart(int from) const
{
    int at = Clamp(from);
    if (at < Length()) {
        CharClass kind = ClassAt(at);
        if (kind != CharClass::Space)
            while (at < Length() && ClassAt(at) == kind)
                ++at;
    }
    while (at < Length() && ClassAt(at) == CharClass::Space)
        ++at;
    return at;
}

std::pair<int, int> EditBuffer::WordAt(int position) const
{
    if (Length() == 0)
        return { 0, 0 };
    int at = Clamp(position);
    // At the end of a word, or of the text, the word is the one before.
    if (at == Length() || (at > 0 && ClassAt(at) == CharClass::Space && ClassAt(at - 1) != CharClass::Space))
        --at;
    CharClass kind = ClassAt(at);
    int start = at;
    int end = at + 1;
    while (start > 0 && ClassAt(start - 1) == kind)
        --start;
    while (end < Length() && ClassAt(end) == kind)
        ++end;
    return { start, end };
}

} // namespace korvane::forms
