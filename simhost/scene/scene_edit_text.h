// An edit of the scene's items between evaluations, as a user makes one: an
// item deleted, added or renamed before the evaluation of a given frame. Its
// text, shared by the scene file's "edit" line and kelto-host's --edit:
//
//     delete NAME@FRAME          the first item of that name, objects before cameras
//     add object NAME@FRAME      a new object at the end of the object list, at the origin
//     add camera NAME@FRAME      a new camera at the end of the camera list, at the origin
//     rename OLD=NEW@FRAME       the first item named OLD, objects before cameras
//
// The frame follows the last "@"; a name is everything between the words and
// the "@", blanks included, so only a renamed item's old name cannot hold "=".
#pragma once

#include <string>

#include "host/host_types.h"

namespace sim {

enum class EditKind { Delete, Add, Rename };

struct SceneEdit {
    EditKind kind = EditKind::Delete;
    int frame = 0;                         // made before this frame is evaluated
    int typeCode = host::kItemTypeObject;  // the list an added item joins
    std::string name;                      // the item deleted, added or renamed
    std::string newName;                   // a renamed item's new name
};

// Reads an edit's text into `edit`; false with `error` set to what is wrong.
bool parseSceneEdit(const std::string& text, SceneEdit& edit, std::string& error);

// The text that parseSceneEdit reads back into the same edit.
std::string formatSceneEdit(const SceneEdit& edit);

// The edit in words for the run's log, e.g. "delete Ball at frame 48", its
// names shown bounded and on one line (shownText).
std::string describeSceneEdit(const SceneEdit& edit);

}  // namespace sim
