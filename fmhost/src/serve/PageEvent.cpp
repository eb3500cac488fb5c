#include "serve/PageEvent.h"

#include <cmath>

#include <nlohmann/json.hpp>

namespace fmhost {

namespace {

using nlohmann::json;

double coordinate(const json& event, const char* key, std::size_t index) {
    const auto it = event.find(key);
    if (it == event.end() || !it->is_number())
        throw PageEventError("event " + std::to_string(index) + " needs a number \"" + key + "\"");
    const double value = it->get<double>();
    if (!std::isfinite(value) || std::fabs(value) > PageEvent::kMaxCoordinate)
        throw PageEventError("event " + std::to_string(index) + ": \"" + key + "\" is out of range");
    return value;
}

PageEvent::Kind touchPhase(const json& event, std::size_t index) {
    const auto it = event.find("phase");
    if (it != event.end() && it->is_string()) {
        const auto& phase = it->get_ref<const std::string&>();
        if (phase == "began") return PageEvent::Kind::touchBegan;
        if (phase == "moved") return PageEvent::Kind::touchMoved;
        if (phase == "ended") return PageEvent::Kind::touchEnded;
        if (phase == "cancelled") return PageEvent::Kind::touchCancelled;
    }
    throw PageEventError("event " + std::to_string(index) +
                         " needs a \"phase\" of began, moved, ended or cancelled");
}

PageEvent parseOne(const json& event, std::size_t index) {
    if (!event.is_object()) throw PageEventError("event " + std::to_string(index) + " is not an object");
    const auto type = event.find("type");
    if (type == event.end() || !type->is_string())
        throw PageEventError("event " + std::to_string(index) + " has no \"type\"");
    const auto& name = type->get_ref<const std::string&>();
    PageEvent out;
    if (name == "touch") {
        out.kind = touchPhase(event, index);
        out.x = coordinate(event, "x", index);
        out.y = coordinate(event, "y", index);
    } else if (name == "scroll") {
        out.kind = PageEvent::Kind::scroll;
        out.x = coordinate(event, "x", index);
        out.y = coordinate(event, "y", index);
        out.dx = coordinate(event, "dx", index);
        out.dy = coordinate(event, "dy", index);
    } else if (name == "text") {
        out.kind = PageEvent::Kind::text;
        const auto text = event.find("text");
        if (text == event.end() || !text->is_string() || text->get_ref<const std::string&>().empty())
            throw PageEventError("event " + std::to_string(index) + " needs a non-empty \"text\"");
        out.text = text->get<std::string>();
        if (out.text.size() > PageEvent::kMaxText)
            throw PageEventError("event " + std::to_string(index) + ": the text is longer than " +
                                 std::to_string(PageEvent::kMaxText) + " bytes");
    } else if (name == "backspace") {
        out.kind = PageEvent::Kind::backspace;
    } else if (name == "return") {
        out.kind = PageEvent::Kind::returnKey;
    } else {
        throw PageEventError("event " + std::to_string(index) + " has the unknown type \"" + name +
                             "\" (known: touch, scroll, text, backspace, return)");
    }
    return out;
}

}  // namespace

std::vector<PageEvent> PageEvent::parseBatch(std::string_view body) {
    // The parser checks UTF-8 as it goes, so no ill-formed text reaches the toolkit.
    const json document = json::parse(body, nullptr, false);
    if (document.is_discarded()) throw PageEventError("the body is not JSON (UTF-8)");
    if (!document.is_object()) throw PageEventError("the body must be an object with \"events\"");
    const auto events = document.find("events");
    if (events == document.end() || !events->is_array())
        throw PageEventError("the body must have an array \"events\"");
    if (events->size() > kMaxBatch)
        throw PageEventError("more than " + std::to_string(kMaxBatch) + " events in one body");
    std::vector<PageEvent> out;
    out.reserve(events->size());
    for (std::size_t i = 0; i < events->size(); ++i) out.push_back(parseOne((*events)[i], i + 1));
    return out;
}

}  // namespace fmhost
