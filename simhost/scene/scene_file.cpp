#include "simhost/scene/scene_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>
#include <type_traits>
#include <utility>

#include "host/host_types.h"
#include "simhost/platform/file_system.h"
#include "simhost/scene/host_scene_file.h"
#include "simhost/scene/number_text.h"
#include "simhost/text/printable_text.h"
#include "simhost/text/text_format.h"

namespace sim {

namespace {

const char kBlockBegin[] = "block";
const char kBinaryBlockBegin[] = "binary block";
const char kBlockEndMarker[] = "end block";
const char kBlockLineMark[] = "| ";
const char kEmptyBlockLine[] = "|";
const char kEditStep[] = "edit";
const char kObjectStep[] = "object";
const char kCameraStep[] = "camera";
const char kPositionStep[] = "key";
const char kRotationStep[] = "rotation";
const char kScaleStep[] = "scale";
// A key's frame and its three values.
const size_t kKeyNumbers = 4;
// What some editors put before the first line of UTF-8 text.
const char kByteOrderMark[] = "\xEF\xBB\xBF";
// A line ends in a line feed, a carriage return and a line feed (Windows), or
// a carriage return alone (old Mac OS).
const char kLineEnds[] = "\r\n";
const char kCrLf[] = "\r\n";
// What separates words: the blanks that reading a word from a stream skips.
const char kBlanks[] = " \t\n\v\f\r";

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> result;
    std::string word;
    while (in >> word) result.push_back(word);
    return result;
}

class Parser {
public:
    Parser(const std::string& sourceName) : source_(sourceName) {}

    SceneParse parse(const std::string& text) {
        size_t at = text.rfind(kByteOrderMark, 0) == 0 ? sizeof kByteOrderMark - 1 : 0;
        while (error_.empty() && at < text.size()) {
            size_t end = std::min(text.find_first_of(kLineEnds, at), text.size());
            std::string line = text.substr(at, end - at);
            at = end + (text.compare(end, sizeof kCrLf - 1, kCrLf) == 0 ? sizeof kCrLf - 1 : 1);
            ++lineNumber_;
            // Names and block lines reach the module as C strings, which
            // would end at the NUL.
            if (line.find('\0') != std::string::npos)
                fail("a line holds a NUL byte");
            else if (inBlock_)
                blockLine(line);
            else
                sceneLine(line);
        }
        if (error_.empty() && inBlock_) fail("the block has no \"end block\"");
        if (error_.empty()) checkFrameTimes();
        for (SceneItem& item : result_.scene.objects) item.motion.sortKeys();
        for (SceneItem& item : result_.scene.cameras) item.motion.sortKeys();
        result_.error = error_;
        return std::move(result_);
    }

private:
    void fail(const std::string& what, int lineNumber = 0) {
        if (error_.empty())
            error_ = source_ + ":" + std::to_string(lineNumber > 0 ? lineNumber : lineNumber_) + ": " + what;
    }

    // Reads `word` into `value`; on failure reports it, with `usage` for text
    // that is no number at all. Returns whether it read.
    template <typename T>
    bool number(const std::string& word, T& value, const std::string& usage) {
        switch (readNumber(word, value)) {
            case NumberText::Number: return true;
            case NumberText::Malformed: fail(usage); break;
            case NumberText::OutOfRange: fail(quotedLine(word) + " is out of range"); break;
            case NumberText::NotFinite: fail(quotedLine(word) + " is not a finite number"); break;
        }
        return false;
    }

    // A frame's time is its number over the rate; both ends of the range
    // bound every time between.
    void checkFrameTimes() {
        const Scene& scene = result_.scene;
        for (int frame : {scene.firstFrame, scene.lastFrame})
            if (!std::isfinite(scene.timeOfFrame(frame)))
                return fail("frame " + std::to_string(frame) + " at " + formatNumber(scene.framesPerSecond) +
                                " fps has no finite time",
                            std::max(framesLine_, fpsLine_));
    }

    // Fails when a line that sets the scene once comes again, which would
    // silently undo the first; else notes where it came.
    bool repeated(int& firstLine, const char* keyword) {
        if (firstLine != 0) {
            fail(std::string("a second \"") + keyword + "\" line (the first is line " + std::to_string(firstLine) +
                 ")");
            return true;
        }
        firstLine = lineNumber_;
        return false;
    }

    // Fails, naming the limit, when a list already holds `most` entries.
    bool full(size_t count, size_t most, const std::string& what) {
        if (count < most) return false;
        fail("more than " + std::to_string(most) + " " + what);
        return true;
    }

    void blockLine(const std::string& line) {
        Scene& scene = result_.scene;
        if (line != kBlockEndMarker && full(scene.modifierBlock.size(), kMaxBlockLines, "block lines")) return;
        if (line == kBlockEndMarker) {
            inBlock_ = false;
            std::string bytes;
            if (scene.binaryBlock && !bytesOfHexLines(scene.modifierBlock, bytes))
                fail("a binary block's lines are its bytes, two hex digits each");
        } else if (line == kEmptyBlockLine) {
            scene.modifierBlock.push_back("");
        } else if (line.compare(0, 2, kBlockLineMark) == 0) {
            scene.modifierBlock.push_back(line.substr(2));
        } else {
            fail("a block line must begin with \"| \" (or be \"|\" alone), or end the block with \"end block\"");
        }
    }

    // Reads "KEYWORD FRAME A B C" into `numbers`, each within
    // +-kMaxKeyNumber; on failure reports it. Returns whether it read.
    bool keyNumbers(const std::vector<std::string>& w, double* const (&numbers)[kKeyNumbers], const std::string& what,
                    const std::string& usage) {
        std::string problem;
        if (current_ == nullptr)
            problem = "a " + what + " before any object or camera";
        else if (w.size() != kKeyNumbers + 1)
            problem = usage;
        for (size_t n = 0; problem.empty() && n < kKeyNumbers; ++n) {
            if (!number(w[n + 1], *numbers[n], usage)) return false;
            if (std::fabs(*numbers[n]) > kMaxKeyNumber)
                problem = "a " + what + "'s frame and " + (what == kRotationStep ? "angles" : "coordinates") +
                          " lie within -" + formatNumber(kMaxKeyNumber) + " and " + formatNumber(kMaxKeyNumber);
        }
        if (!problem.empty()) fail(problem);
        return problem.empty();
    }

    void keyLine(const std::string& line, std::string&) {
        const std::vector<std::string> w = words(line);
        double frame;
        Vec3 position;
        if (keyNumbers(w, {&frame, &position.x, &position.y, &position.z}, kPositionStep,
                       "a key is \"key FRAME X Y Z\" with four numbers"))
            current_->motion.keyPosition(frame, position);
    }

    void rotationLine(const std::string& line, std::string&) {
        const std::vector<std::string> w = words(line);
        double frame;
        Rotation rotation;
        if (keyNumbers(w, {&frame, &rotation.heading, &rotation.pitch, &rotation.bank}, kRotationStep,
                       "a rotation is \"rotation FRAME HEADING PITCH BANK\" with four numbers, the angles in degrees"))
            current_->motion.keyRotation(frame, rotation);
    }

    void scaleLine(const std::string& line, std::string&) {
        const std::vector<std::string> w = words(line);
        double frame;
        Vec3 scale;
        if (keyNumbers(w, {&frame, &scale.x, &scale.y, &scale.z}, kScaleStep,
                       "a scale is \"scale FRAME X Y Z\" with four numbers"))
            current_->motion.keyScale(frame, scale);
    }

    void framesLine(const std::string& line, std::string&) {
        const std::vector<std::string> w = words(line);
        const std::string usage = "frames is \"frames FIRST LAST\" with two whole numbers";
        Scene& scene = result_.scene;
        if (repeated(framesLine_, "frames")) return;
        if (w.size() != 3) return fail(usage);
        if (!number(w[1], scene.firstFrame, usage) || !number(w[2], scene.lastFrame, usage)) return;
        long long count = static_cast<long long>(scene.lastFrame) - scene.firstFrame + 1;
        if (count < 1) return fail("the last frame comes before the first");
        if (count > kMaxFrames) return fail("more than " + std::to_string(kMaxFrames) + " frames");
    }

    void fpsLine(const std::string& line, std::string&) {
        const std::vector<std::string> w = words(line);
        const std::string usage = "fps is \"fps N\" with N above 0";
        if (repeated(fpsLine_, "fps")) return;
        if (w.size() != 2) return fail(usage);
        if (!number(w[1], result_.scene.framesPerSecond, usage)) return;
        if (!(result_.scene.framesPerSecond > 0)) return fail(usage);
    }

    void addItem(int typeCode, const std::string& name) {
        Scene& scene = result_.scene;
        if (full(scene.objects.size() + scene.cameras.size(), kMaxSceneItems, "objects and cameras")) return;
        current_ = &scene.add(typeCode, name);
    }
    void objectLine(const std::string&, std::string& rest) { addItem(host::kItemTypeObject, rest); }
    void cameraLine(const std::string&, std::string& rest) { addItem(host::kItemTypeCamera, rest); }

    void channelLine(const std::string&, std::string& rest) {
        if (repeated(channelLine_, "channel")) return;
        if (rest.empty()) return fail("channel needs a name");
        result_.scene.channelName = std::move(rest);
    }

    void valueLine(const std::string& line, std::string&) {
        if (repeated(valueLine_, "value")) return;
        std::vector<std::string> w = words(line);
        double value;
        if (w.size() != 2) return fail("value is \"value N\"");
        if (number(w[1], value, "value is \"value N\"")) result_.scene.channelValue = Envelope::constant(value);
    }

    void editLine(const std::string&, std::string& rest) {
        Scene& scene = result_.scene;
        if (full(scene.edits.size(), kMaxSceneEdits, "edits")) return;
        SceneEdit edit;
        std::string error;
        if (!parseSceneEdit(rest, edit, error)) return fail(error);
        scene.edits.push_back(edit);
    }

    void blockBegins(const std::string& line) {
        if (blockLine_ != 0)
            return fail("a second block (the first begins on line " + std::to_string(blockLine_) + ")");
        blockLine_ = lineNumber_;
        inBlock_ = true;
        result_.scene.binaryBlock = line == kBinaryBlockBegin;
    }

    // What a line does, by its keyword: given the whole line, and the rest
    // after the keyword and one blank.
    typedef void (Parser::*LineReader)(const std::string& line, std::string& rest);
    struct LineKind {
        const char* keyword;
        LineReader read;
    };

    // A line of names is split no further than its keyword, so that a long
    // name is not copied word by word.
    void sceneLine(const std::string& line) {
        static const LineKind kLineKinds[] = {
            {kObjectStep, &Parser::objectLine}, {kCameraStep, &Parser::cameraLine},
            {kPositionStep, &Parser::keyLine},  {kRotationStep, &Parser::rotationLine},
            {kScaleStep, &Parser::scaleLine},   {"frames", &Parser::framesLine},
            {"fps", &Parser::fpsLine},          {"channel", &Parser::channelLine},
            {"value", &Parser::valueLine},      {kEditStep, &Parser::editLine},
        };
        size_t start = line.find_first_not_of(kBlanks);
        if (start == std::string::npos || line[start] == '#') return;
        size_t afterKeyword = std::min(line.find_first_of(kBlanks, start), line.size());
        const std::string keyword = line.substr(start, afterKeyword - start);
        // Names are the rest of the line after the keyword and one blank.
        std::string rest = afterKeyword < line.size() ? line.substr(afterKeyword + 1) : "";
        for (const LineKind& kind : kLineKinds)
            if (keyword == kind.keyword) return (this->*kind.read)(line, rest);
        if (line == kBlockBegin || line == kBinaryBlockBegin) return blockBegins(line);
        fail("unknown line " + quotedLine(line));
    }

    std::string source_;
    SceneParse result_;
    std::string error_;
    int lineNumber_ = 0;
    // Where the lines that set the scene once came; 0 before they do.
    int framesLine_ = 0;
    int fpsLine_ = 0;
    int channelLine_ = 0;
    int valueLine_ = 0;
    int blockLine_ = 0;
    bool inBlock_ = false;
    SceneItem* current_ = nullptr;
};

void formatKey(std::ostringstream& out, const char* keyword, double frame, double a, double b, double c) {
    out << keyword << " " << formatNumber(frame) << " " << formatNumber(a) << " " << formatNumber(b) << " "
        << formatNumber(c) << "\n";
}

// A vector's keys, the keys of its three channels side by side, as this
// file keys them.
void formatVectorKeys(std::ostringstream& out, const char* keyword, const ItemMotion& motion, int first) {
    const std::vector<EnvelopeKey>& a = motion.channels[first].keys;
    const std::vector<EnvelopeKey>& b = motion.channels[first + 1].keys;
    const std::vector<EnvelopeKey>& c = motion.channels[first + 2].keys;
    for (size_t n = 0; n < a.size() && n < b.size() && n < c.size(); ++n)
        formatKey(out, keyword, a[n].time, a[n].value, b[n].value, c[n].value);
}

// An item without rotation or scale keys is written as before they were known.
void formatItems(std::ostringstream& out, const char* keyword, const std::vector<SceneItem>& items) {
    for (const SceneItem& item : items) {
        out << keyword << " " << item.name << "\n";
        formatVectorKeys(out, kPositionStep, item.motion, kPositionX);
        formatVectorKeys(out, kRotationStep, item.motion, kHeading);
        formatVectorKeys(out, kScaleStep, item.motion, kScaleX);
    }
}

}  // namespace

SceneParse parseScene(const std::string& text, const std::string& sourceName) { return Parser(sourceName).parse(text); }

SceneParse readSceneFile(const std::string& path) {
    FileContents contents = readRegularFile(path, kMaxSceneFileBytes);
    SceneParse result;
    switch (contents.failure) {
        case ReadFailure::None:
            return isHostSceneText(contents.bytes) ? parseHostScene(contents.bytes, path)
                                                   : parseScene(contents.bytes, path);
        case ReadFailure::Missing: result.error = "cannot read scene file " + path; break;
        case ReadFailure::Directory: result.error = "scene file " + path + " is a directory"; break;
        case ReadFailure::NotRegular: result.error = "scene file " + path + " is not a regular file"; break;
        case ReadFailure::TooLarge:
            result.error =
                "scene file " + path + " is larger than " + std::to_string(kMaxSceneFileBytes >> 20) + " MiB";
            break;
        case ReadFailure::System: result.error = "cannot read scene file " + path + ": " + contents.error; break;
    }
    return result;
}

std::string formatScene(const Scene& scene) {
    std::ostringstream out;
    out << "frames " << scene.firstFrame << " " << scene.lastFrame << "\n";
    out << "fps " << formatNumber(scene.framesPerSecond) << "\n";
    formatItems(out, kObjectStep, scene.objects);
    formatItems(out, kCameraStep, scene.cameras);
    out << "channel " << scene.channelName << "\n";
    out << "value " << formatNumber(scene.channelValue.valueAt(0)) << "\n";
    for (const SceneEdit& edit : scene.edits) out << kEditStep << " " << formatSceneEdit(edit) << "\n";
    if (!scene.modifierBlock.empty()) {
        out << (scene.binaryBlock ? kBinaryBlockBegin : kBlockBegin) << "\n";
        for (const std::string& line : scene.modifierBlock)
            out << (line.empty() ? std::string(kEmptyBlockLine) : kBlockLineMark + line) << "\n";
        out << kBlockEndMarker << "\n";
    }
    return out.str();
}

std::vector<std::string> hexLinesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    for (size_t at = 0; at < bytes.size(); at += kHexBytesPerLine) {
        std::string line;
        for (size_t n = at; n < std::min(bytes.size(), at + kHexBytesPerLine); ++n)
            line += formattedText("%02X", static_cast<unsigned char>(bytes[n]));
        lines.push_back(line);
    }
    return lines;
}

bool bytesOfHexLines(const std::vector<std::string>& lines, std::string& bytes) {
    const int kHex = 16;
    bytes.clear();
    for (const std::string& line : lines) {
        if (line.size() % 2 != 0) return false;
        for (size_t at = 0; at < line.size(); at += 2) {
            unsigned value;
            const char* end = line.data() + at + 2;
            std::from_chars_result read = std::from_chars(line.data() + at, end, value, kHex);
            if (read.ec != std::errc() || read.ptr != end) return false;
            bytes.push_back(static_cast<char>(value));
        }
    }
    return true;
}

std::string sceneTextProblem(const Scene& scene) {
    // What a line of the file cannot carry and still read back the same.
    auto unfit = [](const std::string& text) {
        return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
    };
    const std::string what = " holds a line break (a line feed or a carriage return) or a NUL";
    for (const std::vector<SceneItem>* list : {&scene.objects, &scene.cameras})
        for (const SceneItem& item : *list)
            if (unfit(item.name)) return "the item name " + quotedLine(item.name) + what;
    if (scene.channelName.empty()) return "the channel has no name";
    if (unfit(scene.channelName)) return "the channel name" + what;
    for (size_t n = 0; n < scene.modifierBlock.size(); ++n)
        if (unfit(scene.modifierBlock[n])) return "block line " + std::to_string(n + 1) + what;
    return "";
}

}  // namespace sim
