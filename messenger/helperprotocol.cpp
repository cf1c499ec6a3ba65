#include "helperprotocol.h"

#include <charconv>
#include <limits>
#include <vector>

namespace Tarnellbas::HelperProtocol {

namespace {

template <typename Number>
std::optional<Number> parseNumber(std::string_view field)
{
    Number value{};
    const char *end = field.data() + field.size();
    if (field.empty() || (field.front() == '+'))
        return std::nullopt;
    const auto [stop, error] = std::from_chars(field.data(), end, value);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

// Splits off `count` space-separated fields; the rest of the line (possibly
// empty) is the last element.
std::optional<std::vector<std::string_view>> split(std::string_view line, std::size_t count)
{
    std::vector<std::string_view> fields;
    for (std::size_t i = 0; i < count; ++i) {
        const auto space = line.find(' ');
        if (space == std::string_view::npos)
            return std::nullopt;
        fields.push_back(line.substr(0, space));
        line.remove_prefix(space + 1);
    }
    fields.push_back(line);
    return fields;
}

std::string number(std::uint64_t value)
{
    return std::to_string(value);
}

} // namespace

bool isSendableClassName(std::string_view className)
{
    if (className.empty() || className.size() > kMaxLine - 32)
        return false;
    for (const char c : className)
        if (c == '\n' || c == '\r' || c == '\0')
            return false;
    return true;
}

std::string findWindowRequest(RequestId id, const std::string &className)
{
    return "F " + number(id) + ' ' + className + '\n';
}

std::string findChildRequest(RequestId id, WindowHandle parent, WindowHandle childAfter, const std::string &className)
{
    return "X " + number(id) + ' ' + number(parent) + ' ' + number(childAfter) + ' ' + className + '\n';
}

std::string nextWindowRequest(RequestId id, WindowHandle window)
{
    return "N " + number(id) + ' ' + number(window) + '\n';
}

std::string setTextRequest(RequestId id, WindowHandle window, const std::u16string &text)
{
    std::string request = "T " + number(id) + ' ' + number(window) + ' ' + number(text.size()) + '\n';
    const std::size_t header = request.size();
    request.resize(header + 2 * text.size());
    char *bytes = request.data() + header;
    for (const char16_t unit : text) {
        *bytes++ = static_cast<char>(unit & 0xFF);
        *bytes++ = static_cast<char>(unit >> 8);
    }
    return request;
}

std::string postRequest(RequestId id, WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                        std::intptr_t lParam)
{
    return "P " + number(id) + ' ' + number(window) + ' ' + number(message) + ' ' + number(wParam) + ' '
           + std::to_string(static_cast<long long>(lParam)) + '\n';
}

std::string answer(RequestId id, WindowHandle value)
{
    return "= " + number(id) + ' ' + number(value) + '\n';
}

std::string refusal(std::optional<RequestId> id)
{
    return id ? "? " + number(*id) + '\n' : std::string("?\n");
}

std::optional<Answer> parseAnswer(std::string_view line)
{
    if (line.size() < 3 || line[1] != ' ' || (line[0] != '=' && line[0] != '?'))
        return std::nullopt;
    const bool refused = line[0] == '?';
    line.remove_prefix(2);
    if (refused) {
        const auto id = parseNumber<RequestId>(line);
        return id ? std::optional<Answer>(Answer{*id, std::nullopt}) : std::nullopt;
    }
    const auto fields = split(line, 1);
    if (!fields)
        return std::nullopt;
    const auto id = parseNumber<RequestId>((*fields)[0]);
    const auto value = parseNumber<WindowHandle>((*fields)[1]);
    if (!id || !value)
        return std::nullopt;
    return Answer{*id, *value};
}

std::optional<RequestId> parseRequestId(std::string_view line)
{
    if (line.size() < 3 || line[1] != ' ')
        return std::nullopt;
    line.remove_prefix(2);
    return parseNumber<RequestId>(line.substr(0, line.find(' ')));
}

std::optional<Request> parseRequest(std::string_view line)
{
    if (line.size() > kMaxLine)
        return std::nullopt;
    const auto id = parseRequestId(line);
    if (!id)
        return std::nullopt;
    const char kind = line[0];
    // The fields after the id; none when the line ends with it.
    const std::size_t fields = line.find(' ', 2);
    line = fields == std::string_view::npos ? std::string_view() : line.substr(fields + 1);
    Request request;
    request.id = *id;
    switch (kind) {
    case 'F':
        if (!isSendableClassName(line))
            return std::nullopt;
        request.kind = Request::Kind::FindWindow;
        request.className = std::string(line);
        return request;
    case 'X': {
        const auto fields = split(line, 2);
        if (!fields)
            return std::nullopt;
        const auto parent = parseNumber<WindowHandle>((*fields)[0]);
        const auto after = parseNumber<WindowHandle>((*fields)[1]);
        if (!parent || !after || !isSendableClassName((*fields)[2]))
            return std::nullopt;
        request.kind = Request::Kind::FindChild;
        request.window = *parent;
        request.childAfter = *after;
        request.className = std::string((*fields)[2]);
        return request;
    }
    case 'N': {
        const auto window = parseNumber<WindowHandle>(line);
        if (!window)
            return std::nullopt;
        request.kind = Request::Kind::NextWindow;
        request.window = *window;
        return request;
    }
    case 'T': {
        const auto fields = split(line, 1);
        if (!fields)
            return std::nullopt;
        const auto window = parseNumber<WindowHandle>((*fields)[0]);
        const auto units = parseNumber<std::size_t>((*fields)[1]);
        if (!window || !units || *units > kMaxTextUnits)
            return std::nullopt;
        request.kind = Request::Kind::SetText;
        request.window = *window;
        request.textUnits = *units;
        return request;
    }
    case 'P': {
        const auto fields = split(line, 3);
        if (!fields)
            return std::nullopt;
        const auto window = parseNumber<WindowHandle>((*fields)[0]);
        const auto message = parseNumber<std::uint32_t>((*fields)[1]);
        const auto wParam = parseNumber<std::uintptr_t>((*fields)[2]);
        const auto lParam = parseNumber<std::intptr_t>((*fields)[3]);
        if (!window || !message || !wParam || !lParam)
            return std::nullopt;
        request.kind = Request::Kind::Post;
        request.window = *window;
        request.message = *message;
        request.wParam = *wParam;
        request.lParam = *lParam;
        return request;
    }
    default:
        return std::nullopt;
    }
}

std::u16string fromUtf16Le(std::string_view bytes)
{
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i])
                                        | (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return text;
}

} // namespace Tarnellbas::HelperProtocol
