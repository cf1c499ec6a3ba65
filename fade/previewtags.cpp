#include "previewtags.h"

#include "hextext.h"

#include <algorithm>

namespace VarloFade {

namespace {

std::u16string_view trimSpaces(std::u16string_view text)
{
    while (!text.empty() && text.front() == u' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    return text;
}

char16_t lower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// Whether text starts with the lower-case prefix, in either case.
bool startsWithFolded(std::u16string_view text, std::u16string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (lower(text[i]) != prefix[i])
            return false;
    return true;
}

// HexToNumber of at most two characters: the sum is exact, so the nearest
// integer is the value itself, and no float is needed.
ColorValue channel(std::u16string_view pair)
{
    ColorValue value = 0;
    for (char16_t c : pair) {
        if (c >= u'a' && c <= u'f')
            c = static_cast<char16_t>(c - u'a' + u'A');
        value = value * 16 + HexDigitValue(std::u16string_view(&c, 1));
    }
    return value;
}

} // namespace

void LowerTagText(std::u16string_view text, std::u16string &into)
{
    into.assign(text);
    for (char16_t &c : into)
        c = lower(c);
}

std::u16string LowerTagText(std::u16string_view text)
{
    std::u16string lower;
    LowerTagText(text, lower);
    return lower;
}

std::optional<ColorValue> TagColor(std::u16string_view tagText)
{
    const std::size_t hash = tagText.find(u'#');
    if (hash == std::u16string_view::npos)
        return std::nullopt;
    const std::u16string_view code = tagText.substr(hash + 1, 6);
    const std::u16string_view red = code.substr(0, 2);
    const std::u16string_view green = code.size() > 2 ? code.substr(2, 2) : std::u16string_view();
    const std::u16string_view blue = code.substr(code.size() >= 2 ? code.size() - 2 : 0);
    return channel(red) + 256 * channel(green) + 65536 * channel(blue);
}

std::optional<std::u16string> TagFace(std::u16string_view tagText)
{
    std::u16string_view name;
    const std::size_t quote = tagText.find(u'"');
    if (quote != std::u16string_view::npos) {
        name = tagText.substr(quote + 1);
        name = name.substr(0, name.find(u'"'));
    } else {
        name = trimSpaces(tagText.substr(std::min<std::size_t>(9, tagText.size())));
        if (!name.empty() && name.front() == u'=')
            name = trimSpaces(name.substr(1));
    }
    if (name.empty())
        return std::nullopt;
    return std::u16string(name);
}

// The twelve tags of one to four letters, matched by length and letters:
// the wavy fade writes one of them before every character.
static bool readShortTag(std::u16string_view tagText, PreviewTag &tag)
{
    char16_t t[4] = {};
    for (std::size_t i = 0; i < tagText.size(); ++i)
        t[i] = lower(tagText[i]);
    const bool closing = t[0] == u'/';
    const char16_t *name = closing ? t + 1 : t;
    const std::size_t length = tagText.size() - (closing ? 1 : 0);
    if (length == 1) {
        switch (name[0]) {
        case u'u': tag.kind = PreviewTag::Underline; break;
        case u's': tag.kind = PreviewTag::Strikethru; break;
        case u'b': tag.kind = PreviewTag::Bold; break;
        case u'i': tag.kind = PreviewTag::Italic; break;
        default: return false;
        }
        tag.on = !closing;
        return true;
    }
    if (length == 3 && name[0] == u's' && name[1] == u'u' && (name[2] == u'p' || name[2] == u'b')) {
        tag.kind = PreviewTag::Shift;
        tag.shift = closing ? 0 : name[2] == u'p' ? -1 : 1;
        return true;
    }
    return false;
}

PreviewTag ReadPreviewTag(std::u16string_view tagText)
{
    PreviewTag tag;
    if (tagText.size() <= 4) {
        readShortTag(tagText, tag);
        return tag;
    }
    if (startsWithFolded(tagText, u"font color")) {
        if (const auto color = TagColor(tagText)) {
            tag.kind = PreviewTag::Color;
            tag.color = *color;
        }
    } else if (startsWithFolded(tagText, u"font face")) {
        // The face is read from the lower-cased tag text, like every tag.
        if (auto face = TagFace(LowerTagText(tagText))) {
            tag.kind = PreviewTag::Face;
            tag.face = std::move(*face);
        }
    }
    return tag;
}

} // namespace VarloFade
