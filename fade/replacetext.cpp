#include "replacetext.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace VarloFade {

namespace {

std::u16string replaceSinglePass(const std::u16string &text, const std::u16string &find,
                                 const std::u16string &replacement, const EventTurn &processEvents)
{
    std::vector<std::size_t> found;
    for (std::size_t at = 0; (at = text.find(find, at)) != std::u16string::npos; at += find.size())
        found.push_back(at);
    if (found.empty())
        return text;

    // Sized once and filled with block copies: the window's longest preview
    // has tens of thousands of line breaks.
    std::u16string out(text.size() + found.size() * replacement.size() - found.size() * find.size(), u'\0');
    char16_t *to = out.data();
    std::size_t from = 0;
    auto copy = [&to](const char16_t *source, std::size_t units) {
        std::memcpy(to, source, units * sizeof(char16_t));
        to += units;
    };
    for (const std::size_t at : found) {
        if (processEvents)
            processEvents();
        copy(text.data() + from, at - from);
        copy(replacement.data(), replacement.size());
        from = at + find.size();
    }
    copy(text.data() + from, text.size() - from);
    return out;
}

// Replacing from the start again after every replacement is quadratic. The
// same result comes from a stack: everything left of the scan point holds no
// occurrence, so the first occurrence is the first time the output ends with
// find. It is popped and the replacement is scanned again in front of the
// rest, where it may form a new occurrence with what is left of it.
std::u16string replaceUntilNoneLeft(const std::u16string &text, const std::u16string &find,
                                    const std::u16string &replacement, const EventTurn &processEvents)
{
    const std::size_t lf = find.size();
    std::vector<std::uint32_t> border(lf, 0); // KMP failure function of find
    for (std::size_t i = 1, k = 0; i < lf; ++i) {
        while (k > 0 && find[i] != find[k])
            k = border[k - 1];
        if (find[i] == find[k])
            ++k;
        border[i] = static_cast<std::uint32_t>(k);
    }

    std::u16string out;
    std::vector<std::uint32_t> state; // matched length of find after each output character
    out.reserve(text.size());
    state.reserve(text.size());
    std::u16string pending; // replacements still to scan, last character first
    std::size_t next = 0;

    for (;;) {
        char16_t c;
        if (!pending.empty()) {
            c = pending.back();
            pending.pop_back();
        } else if (next < text.size()) {
            c = text[next++];
        } else {
            break;
        }
        std::size_t q = state.empty() ? 0 : state.back();
        while (q > 0 && find[q] != c)
            q = border[q - 1];
        if (find[q] == c)
            ++q;
        out.push_back(c);
        state.push_back(static_cast<std::uint32_t>(q));
        if (q == lf) {
            if (processEvents)
                processEvents();
            out.resize(out.size() - lf);
            state.resize(state.size() - lf);
            pending.append(replacement.rbegin(), replacement.rend());
        }
    }
    return out;
}

bool formsNoNewOccurrence(const std::u16string &find, const std::u16string &replacement)
{
    // A one-character find that is not in the replacement cannot be formed
    // anew by a replacement, so a single pass gives the same result.
    return find.size() == 1 && replacement.find(find[0]) == std::u16string::npos;
}

} // namespace

std::u16string ReplaceText(std::u16string text, std::u16string find, std::u16string replacement,
                           const EventTurn &processEvents)
{
    if (find.empty())
        return text;
    if (formsNoNewOccurrence(find, replacement) || replacement.find(find) != std::u16string::npos)
        return replaceSinglePass(text, find, replacement, processEvents);
    return replaceUntilNoneLeft(text, find, replacement, processEvents);
}

} // namespace VarloFade
