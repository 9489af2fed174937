#include "scene_file.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

namespace sim {

namespace {

const char kBlockBegin[] = "block";
const char kBlockEndMarker[] = "end block";
const char kBlockLineMark[] = "| ";
const char kEmptyBlockLine[] = "|";
const char kEditStep[] = "edit";
const int kMaxFrames = 1000000;

// The whole text as one number of type T.
template <typename T>
bool parseNumber(const std::string& text, T& value) {
    const char* end = text.data() + text.size();
    auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> result;
    std::string word;
    while (in >> word) result.push_back(word);
    return result;
}

std::string formatNumber(double value) {
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

class Parser {
public:
    Parser(const std::string& sourceName) : source_(sourceName) {}

    SceneParse parse(const std::string& text) {
        std::istringstream in(text);
        std::string line;
        while (error_.empty() && std::getline(in, line)) {
            ++lineNumber_;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            // Another carriage return could not be told from a line ending
            // once the scene is written back.
            if (!line.empty() && line.back() == '\r') fail("a line ends in a carriage return");
            else if (inBlock_) blockLine(line);
            else sceneLine(line);
        }
        if (error_.empty() && inBlock_) fail("the block has no \"end block\"");
        if (error_.empty() && result_.scene.lastFrame < result_.scene.firstFrame)
            fail("the last frame comes before the first");
        for (SceneItem& item : result_.scene.objects) sortKeys(item);
        for (SceneItem& item : result_.scene.cameras) sortKeys(item);
        result_.error = error_;
        return result_;
    }

private:
    static void sortKeys(SceneItem& item) {
        std::stable_sort(item.keys.begin(), item.keys.end(),
                         [](const PositionKey& a, const PositionKey& b) { return a.frame < b.frame; });
    }

    void fail(const std::string& what) {
        if (error_.empty()) error_ = source_ + ":" + std::to_string(lineNumber_) + ": " + what;
    }

    void blockLine(const std::string& line) {
        Scene& scene = result_.scene;
        if (line == kBlockEndMarker) {
            inBlock_ = false;
        } else if (line == kEmptyBlockLine) {
            scene.modifierBlock.push_back("");
        } else if (line.compare(0, 2, kBlockLineMark) == 0) {
            scene.modifierBlock.push_back(line.substr(2));
        } else {
            fail("a block line must begin with \"| \" (or be \"|\" alone), or end the block with \"end block\"");
        }
    }

    void sceneLine(const std::string& line) {
        std::vector<std::string> w = words(line);
        if (w.empty() || w[0][0] == '#') return;
        const std::string& keyword = w[0];
        // Names are the rest of the line after the keyword and one blank.
        size_t afterKeyword = line.find(keyword) + keyword.size();
        std::string rest = afterKeyword < line.size() ? line.substr(afterKeyword + 1) : "";
        Scene& scene = result_.scene;
        if (keyword == "object" || keyword == "camera") {
            std::vector<SceneItem>& list = keyword == "object" ? scene.objects : scene.cameras;
            list.push_back(SceneItem{rest, {}});
            current_ = &list.back();
        } else if (keyword == "key") {
            PositionKey key;
            if (current_ == nullptr) return fail("a key before any object or camera");
            if (w.size() != 5 || !parseNumber(w[1], key.frame) || !parseNumber(w[2], key.position.x) ||
                !parseNumber(w[3], key.position.y) || !parseNumber(w[4], key.position.z))
                return fail("a key is \"key FRAME X Y Z\" with four numbers");
            current_->keys.push_back(key);
        } else if (keyword == "frames") {
            if (w.size() != 3 || !parseNumber(w[1], scene.firstFrame) || !parseNumber(w[2], scene.lastFrame))
                return fail("frames is \"frames FIRST LAST\" with two whole numbers");
            if (scene.lastFrame - static_cast<long long>(scene.firstFrame) > kMaxFrames)
                return fail("more than " + std::to_string(kMaxFrames) + " frames");
        } else if (keyword == "fps") {
            if (w.size() != 2 || !parseNumber(w[1], scene.framesPerSecond) || !(scene.framesPerSecond > 0))
                return fail("fps is \"fps N\" with N above 0");
        } else if (keyword == "channel") {
            if (rest.empty()) return fail("channel needs a name");
            scene.channelName = rest;
        } else if (keyword == "value") {
            if (w.size() != 2 || !parseNumber(w[1], scene.channelValue)) return fail("value is \"value N\"");
        } else if (keyword == kEditStep) {
            SceneEdit edit;
            std::string error;
            if (!parseSceneEdit(rest, edit, error)) return fail(error);
            scene.edits.push_back(edit);
        } else if (line == kBlockBegin) {
            if (!scene.modifierBlock.empty()) return fail("a second block");
            inBlock_ = true;
        } else {
            fail("unknown line \"" + line + "\"");
        }
    }

    std::string source_;
    SceneParse result_;
    std::string error_;
    int lineNumber_ = 0;
    bool inBlock_ = false;
    SceneItem* current_ = nullptr;
};

void formatItems(std::ostringstream& out, const char* keyword, const std::vector<SceneItem>& items) {
    for (const SceneItem& item : items) {
        out << keyword << " " << item.name << "\n";
        for (const PositionKey& key : item.keys)
            out << "key " << formatNumber(key.frame) << " " << formatNumber(key.position.x) << " "
                << formatNumber(key.position.y) << " " << formatNumber(key.position.z) << "\n";
    }
}

}  // namespace

SceneParse parseScene(const std::string& text, const std::string& sourceName) {
    return Parser(sourceName).parse(text);
}

SceneParse readSceneFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        SceneParse result;
        result.error = "cannot read scene file " + path;
        return result;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parseScene(text.str(), path);
}

std::string formatScene(const Scene& scene) {
    std::ostringstream out;
    out << "frames " << scene.firstFrame << " " << scene.lastFrame << "\n";
    out << "fps " << formatNumber(scene.framesPerSecond) << "\n";
    formatItems(out, "object", scene.objects);
    formatItems(out, "camera", scene.cameras);
    out << "channel " << scene.channelName << "\n";
    out << "value " << formatNumber(scene.channelValue) << "\n";
    for (const SceneEdit& edit : scene.edits) out << kEditStep << " " << formatSceneEdit(edit) << "\n";
    if (!scene.modifierBlock.empty()) {
        out << kBlockBegin << "\n";
        for (const std::string& line : scene.modifierBlock)
            out << (line.empty() ? std::string(kEmptyBlockLine) : kBlockLineMark + line) << "\n";
        out << kBlockEndMarker << "\n";
    }
    return out.str();
}

}  // namespace sim
