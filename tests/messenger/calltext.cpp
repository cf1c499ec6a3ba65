#include "calltext.h"

namespace Tarnellbas {

std::string callText(const FakeCall &call)
{
    using Kind = FakeCall::Kind;
    const auto n = [](auto value) { return std::to_string(value); };
    std::string text;
    switch (call.kind) {
    case Kind::FindWindow:
        text = "FindWindow " + call.className + " = " + n(call.result);
        break;
    case Kind::FindChild:
        text = "FindChild " + n(call.window) + ' ' + n(call.childAfter) + ' ' + call.className + " = "
               + n(call.result);
        break;
    case Kind::NextWindow:
        text = "Next " + n(call.window) + " = " + n(call.result);
        break;
    case Kind::SetText:
        text = "SetText " + n(call.window) + " (" + n(call.text.size()) + " units)";
        break;
    case Kind::Post:
        text = "Post " + n(call.window) + ' ' + n(call.message) + ' ' + n(call.wParam) + ' ' + n(call.lParam);
        break;
    case Kind::Sleep:
        text = "Sleep " + n(call.milliseconds);
        break;
    }
    return call.failed ? text + " failed" : text;
}

std::vector<std::string> callTexts(const std::vector<FakeCall> &calls)
{
    std::vector<std::string> texts;
    for (const auto &call : calls)
        texts.push_back(callText(call));
    return texts;
}

} // namespace Tarnellbas
