// formatHostScene (host_scene_file.h): the file read, with one change.
#include <string>
#include <vector>

#include "simhost/scene/host_channel_handler.h"
#include "simhost/scene/host_scene_file.h"
#include "simhost/scene/host_scene_text.h"
#include "simhost/scene/number_text.h"

namespace sim {

namespace {

// The first version whose envelopes are blocks, with room for a channel
// modifier's.
const int kBlockVersion = 3;
const size_t kIndentStep = 2;
const char kFallbackEnding[] = "\n";

// The file with the bytes from `begin` to `end` replaced by `insert`.
std::string spliced(const std::string& text, size_t begin, size_t end, const std::string& insert) {
    std::string result;
    result.reserve(text.size() - (end - begin) + insert.size());
    result.append(text, 0, begin).append(insert).append(text, end, std::string::npos);
    return result;
}

// The line ending at `at`, where a line's text ends.
std::string endingAt(const std::string& text, size_t at) {
    if (text.compare(at, 2, "\r\n") == 0) return "\r\n";
    if (at < text.size() && (text[at] == '\n' || text[at] == '\r')) return std::string(1, text[at]);
    return "";
}

// "FocalDistance (envelope)" and an envelope of one key holding `value`,
// the block last in it; every line ending in `ending` but the last, which
// ends as the line it stands for did.
std::string focalDistanceEnvelope(const std::string& value, size_t depth, const std::string& ending,
                                  const std::string& server, const std::vector<std::string>& lines) {
    const std::string outer(depth, ' '), inner(depth + kIndentStep, ' ');
    std::string text;
    text += outer + kFocalDistanceChannel + " (envelope)" + ending;
    text += outer + "{ Envelope" + ending;
    text += inner + "1" + ending;
    text += inner + "Key " + value + " 0 0 0 0 0 0 0 0" + ending;
    text += inner + "Behaviors 1 1" + ending;
    text += formatChannelHandler(server, lines, depth + kIndentStep, ending);
    text += outer + "}";
    return text;
}

// Why the module's lines and its server's name cannot be written, or "".
std::string blockProblem(const std::string& server, const std::vector<std::string>& lines) {
    if (server.empty()) return "the server has no name";
    if (server.find_first_of(std::string("\r\n\0\"", 4)) != std::string::npos)
        return "the server's name " + quotedLine(server) + " holds a line break, a NUL or a double quote";
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string problem = channelHandlerLineProblem(lines[n]);
        if (!problem.empty()) return "saved line " + std::to_string(n + 1) + " " + quotedLine(lines[n]) + " " + problem;
    }
    return "";
}

// Why no block can be written into the file, or "".
std::string writeProblem(const HostSceneText* file, const std::string& server, const std::vector<std::string>& lines) {
    if (file == nullptr) return "the scene was not read from the host's scene file";
    if (file->version < kBlockVersion)
        return "version " + std::to_string(file->version) +
               " of the host's scene files has no place for a channel modifier's block (the host writes one from "
               "version 3 on)";
    return blockProblem(server, lines);
}

// The file with the item's focal distance made an envelope that holds the
// block: in place of its value line, or inserted where the item takes one.
// False when the item has neither.
bool withFocalDistanceEnvelope(const HostSceneText& file, size_t item, const std::string& ending,
                               const std::string& server, const std::vector<std::string>& lines, std::string& result) {
    const std::string& text = file.text;
    for (const ValueLinePlace& place : file.focalDistanceValues) {
        if (place.item != item) continue;
        const std::string lineEnding = endingAt(text, place.end);
        const size_t depth = indentation(std::string_view(text).substr(place.begin, place.end - place.begin));
        result =
            spliced(text, place.begin, place.end,
                    focalDistanceEnvelope(place.value, depth, lineEnding.empty() ? ending : lineEnding, server, lines));
        return true;
    }
    for (const InsertPlace& place : file.focalDistanceInserts) {
        if (place.item != item) continue;
        // After a last line without an ending, the new lines begin with one.
        const std::string lineEnding = place.ending.empty() ? ending : place.ending;
        const std::string before = place.ending.empty() ? lineEnding : "";
        result =
            spliced(text, place.at, place.at,
                    before + focalDistanceEnvelope(formatNumber(kDefaultFocalDistance), 0, lineEnding, server, lines) +
                        lineEnding);
        return true;
    }
    return false;
}

}  // namespace

std::string formatHostScene(const Scene& scene, size_t item, const std::string& channel, const std::string& server,
                            const std::vector<std::string>& lines, std::string& error) {
    const HostSceneText* file = scene.hostText.get();
    error = writeProblem(file, server, lines);
    if (!error.empty()) return "";
    const std::string& text = file->text;
    const std::string ending = file->ending.empty() ? kFallbackEnding : file->ending;
    for (const EnvelopePlace& place : file->envelopes) {
        if (place.item != item || place.channel != channel) continue;
        const std::string block = formatChannelHandler(server, lines, place.indentation + kIndentStep,
                                                       place.ending.empty() ? ending : place.ending);
        for (const HandlerPlace& handler : place.handlers)
            if (handler.server == server) return spliced(text, handler.begin, handler.end, block);
        return spliced(text, place.close, place.close, block);
    }
    std::string result;
    if (channel == kFocalDistanceChannel && withFocalDistanceEnvelope(*file, item, ending, server, lines, result))
        return result;
    const SceneItem* owner = scene.itemOfSerial(item);
    const std::string ownerName = owner != nullptr ? owner->name : item == kNoItem ? "the scene" : "no item";
    error = "the host's scene file holds no envelope of " + ownerName + "'s channel " + quotedLine(channel);
    return "";
}

}  // namespace sim
