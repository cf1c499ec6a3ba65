#include "helperserver.h"

#include "helperprotocol.h"

#include <optional>
#include <string>

namespace Tarnellbas {

namespace {

using namespace HelperProtocol;

enum class LineRead { Line, TooLong, End };

LineRead readLine(std::FILE *in, std::string *line)
{
    line->clear();
    bool tooLong = false;
    for (;;) {
        const int c = std::getc(in);
        if (c == EOF)
            return LineRead::End;
        if (c == '\n')
            return tooLong ? LineRead::TooLong : LineRead::Line;
        if (line->size() < kMaxLine)
            line->push_back(static_cast<char>(c));
        else
            tooLong = true;
    }
}

void say(std::FILE *out, const std::string &text)
{
    std::fwrite(text.data(), 1, text.size(), out);
    std::fflush(out);
}

std::optional<WindowHandle> run(WindowSystem &windows, const Request &request, const std::u16string &text)
{
    try {
        switch (request.kind) {
        case Request::Kind::FindWindow:
            return windows.findWindow(request.className);
        case Request::Kind::FindChild:
            return windows.findChildWindow(request.window, request.childAfter, request.className);
        case Request::Kind::NextWindow:
            return windows.nextWindow(request.window);
        case Request::Kind::SetText:
            windows.setWindowText(request.window, text);
            return 0;
        case Request::Kind::Post:
            windows.postMessage(request.window, request.message, request.wParam, request.lParam);
            return 0;
        }
    } catch (...) {
    }
    return std::nullopt;
}

} // namespace

void serveWindowSystem(WindowSystem &windows, std::FILE *in, std::FILE *out)
{
    say(out, std::string(kGreeting) + '\n');
    std::string line;
    for (;;) {
        const LineRead read = readLine(in, &line);
        if (read == LineRead::End)
            return;
        const std::optional<Request> request =
            read == LineRead::Line ? parseRequest(line) : std::nullopt;
        if (!request) {
            say(out, refusal(read == LineRead::Line ? parseRequestId(line) : std::nullopt));
            continue;
        }
        std::u16string text;
        if (request->kind == Request::Kind::SetText) {
            std::string bytes(2 * request->textUnits, '\0');
            if (std::fread(bytes.data(), 1, bytes.size(), in) != bytes.size())
                return;
            text = fromUtf16Le(bytes);
        }
        const std::optional<WindowHandle> result = run(windows, *request, text);
        say(out, result ? answer(request->id, *result) : refusal(request->id));
    }
}

} // namespace Tarnellbas
