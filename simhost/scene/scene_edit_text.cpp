#include "simhost/scene/scene_edit_text.h"

#include <charconv>
#include <climits>

#include "simhost/text/printable_text.h"

namespace sim {

namespace {

const char kFrameMark = '@';
const char kRenameMark = '=';
const char kDeleteWords[] = "delete ";
const char kAddObjectWords[] = "add object ";
const char kAddCameraWords[] = "add camera ";
const char kRenameWords[] = "rename ";
const char kGrammar[] =
    "an edit is \"delete NAME@FRAME\", \"add object NAME@FRAME\", \"add camera NAME@FRAME\" or "
    "\"rename OLD=NEW@FRAME\"";

// The text after `words` when it begins with them.
bool after(const std::string& text, const std::string& words, std::string& rest) {
    if (text.compare(0, words.size(), words) != 0) return false;
    rest = text.substr(words.size());
    return true;
}

}  // namespace

bool parseSceneEdit(const std::string& text, SceneEdit& edit, std::string& error) {
    size_t mark = text.rfind(kFrameMark);
    if (mark == std::string::npos) {
        error = kGrammar;
        return false;
    }
    const char* frameBegin = text.data() + mark + 1;
    const char* frameEnd = text.data() + text.size();
    auto parsed = std::from_chars(frameBegin, frameEnd, edit.frame);
    if (parsed.ec == std::errc::result_out_of_range && parsed.ptr == frameEnd) {
        error = "an edit's frame, after the last \"@\", is out of range: a frame lies from " + std::to_string(INT_MIN) +
                " to " + std::to_string(INT_MAX);
        return false;
    }
    if (parsed.ec != std::errc() || parsed.ptr != frameEnd || frameBegin == frameEnd) {
        error = "an edit's frame, after the last \"@\", is a whole number";
        return false;
    }
    std::string body = text.substr(0, mark), rest;
    edit.newName.clear();
    if (after(body, kDeleteWords, rest)) {
        edit.kind = EditKind::Delete;
        edit.name = rest;
    } else if (after(body, kAddObjectWords, rest) || after(body, kAddCameraWords, rest)) {
        bool camera = after(body, kAddCameraWords, rest);
        edit.kind = EditKind::Add;
        edit.typeCode = camera ? host::kItemTypeCamera : host::kItemTypeObject;
        edit.name = rest;
    } else if (after(body, kRenameWords, rest) && rest.find(kRenameMark) != std::string::npos) {
        size_t equals = rest.find(kRenameMark);
        edit.kind = EditKind::Rename;
        edit.name = rest.substr(0, equals);
        edit.newName = rest.substr(equals + 1);
    } else {
        error = kGrammar;
        return false;
    }
    return true;
}

std::string formatSceneEdit(const SceneEdit& edit) {
    std::string frame = kFrameMark + std::to_string(edit.frame);
    switch (edit.kind) {
        case EditKind::Delete: return kDeleteWords + edit.name + frame;
        case EditKind::Add:
            return (edit.typeCode == host::kItemTypeCamera ? kAddCameraWords : kAddObjectWords) + edit.name + frame;
        case EditKind::Rename: return kRenameWords + edit.name + kRenameMark + edit.newName + frame;
    }
    return "";
}

std::string describeSceneEdit(const SceneEdit& edit) {
    std::string frame = " at frame " + std::to_string(edit.frame);
    std::string name = shownText(edit.name);
    switch (edit.kind) {
        case EditKind::Delete: return kDeleteWords + name + frame;
        case EditKind::Add:
            return (edit.typeCode == host::kItemTypeCamera ? kAddCameraWords : kAddObjectWords) + name + frame;
        case EditKind::Rename: return kRenameWords + name + " to " + shownText(edit.newName) + frame;
    }
    return "";
}

}  // namespace sim
