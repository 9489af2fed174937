#include "simhost/scene/host_channel_handler.h"

#include <limits>

namespace sim {

namespace {

// Each level of a block indents its lines by two spaces more.
const size_t kIndentStep = 2;
const char kOpen = '{';
const char kClose[] = "}";
const char kQuote = '"';
// The flags the host writes for a server it runs.
const char kEnabledFlags[] = "0";

std::string unquoted(std::string_view text) {
    text = trimmed(text);
    if (text.size() >= 2 && text.front() == kQuote && text.back() == kQuote) text = text.substr(1, text.size() - 2);
    return std::string(text);
}

}  // namespace

bool readChannelHandler(HostSceneInput& input, const SceneLine& opening, ChannelHandlerText& block) {
    block = ChannelHandlerText();
    block.lineNumber = opening.number;
    block.begin = opening.begin;
    // The host indents what a module saved by the block's depth, and the
    // module must get its lines back as it wrote them: that indentation, and
    // no more, is taken off. Kelto's own reader takes a line that begins with
    // a space as an empty keyword, which ends its block; were the host's
    // indentation handed back, it would lose every reference it saved.
    const size_t depth = indentation(opening.text) + kIndentStep;
    std::vector<std::string> body;
    int nested = 0;
    SceneLine line;
    while (true) {
        if (!input.lines.next(line))
            return input.fail(opening.number, "the channel modifier's block has no closing \"}\"");
        if (nested == 0 && isBlockClosing(line.text)) break;
        if (isBlockOpening(line.text)) ++nested;
        if (isBlockClosing(line.text)) --nested;
        if (!input.addBlockLine(line.number)) return false;
        if (indentation(line.text) >= depth)
            body.emplace_back(line.text.substr(depth));
        else if (trimmed(line.text).empty())
            body.emplace_back();  // a line of blanks cut short: an empty line
        else
            return input.fail(line.number, "a line of the channel modifier's block is not indented by its " +
                                               std::to_string(depth) + " spaces");
    }
    block.end = line.end();
    if (body.size() < 2)
        return input.fail(opening.number, "the channel modifier's block begins with its server's name and flags");
    block.server = unquoted(body[0]);
    long long flags;
    if (!input.wholeNumber(trimmed(body[1]), opening.number + 2, 0, std::numeric_limits<unsigned>::max(), flags,
                           "the flags of the channel modifier's server"))
        return false;
    block.flags = static_cast<unsigned>(flags);
    block.lines.assign(std::make_move_iterator(body.begin() + 2), std::make_move_iterator(body.end()));
    return true;
}

std::string channelHandlerLineProblem(const std::string& line) {
    if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
        return "holds a line break (a line feed or a carriage return) or a NUL";
    if (isBlockClosing(line)) return "would read back as the end of the block";
    if (isBlockOpening(line)) return "would read back as a block of its own";
    return "";
}

std::string formatChannelHandler(const std::string& server, const std::vector<std::string>& lines, size_t depth,
                                 std::string_view ending) {
    const std::string outer(depth, ' '), inner(depth + kIndentStep, ' ');
    std::string text;
    text.append(outer).append(1, kOpen).append(" ").append(kChannelHandlerBlockName).append(ending);
    text.append(inner).append(1, kQuote).append(server).append(1, kQuote).append(ending);
    text.append(inner).append(kEnabledFlags).append(ending);
    for (const std::string& line : lines) text.append(inner).append(line).append(ending);
    text.append(outer).append(kClose).append(ending);
    return text;
}

}  // namespace sim
