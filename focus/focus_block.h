// Kelto Focus's block in the host's scene file. Every setting is written in
// full, one line each, doubles with 17 significant digits:
//
//     KELTO_FOCUS_START
//     VERSION 1
//     REFERENCE_ITEM
//     <item name, or "none">
//     REFERENCE_CAMERA
//     <camera name, or "none">
//     MEASURE 0                  0 straight line, 1 along view
//     SUBJECT_OFFSET 0 0 0       x y z, along the subject's own axes
//     FOCUS_OFFSET 0
//     LAG 0                      seconds
//     KELTO_FOCUS_END
//
// Reading. Blanks (space, tab, carriage return) at either end of a keyword's
// line are not read. A line's keyword is its text up to the first blank and
// must match exactly; numbers follow it, separated by blanks, with '.' as the
// decimal point. The block must begin with the start line, else the instance
// is left untouched; Kelto's block (KELTO_START ... KELTO_END) is read too,
// by the same rules, for its references alone, so that a scene moves from
// Kelto with them. Lines are then read up to the end line or the end of the
// data, in any order. A reference keyword takes the next line whole as the
// name, as Kelto's block does, blanks included, but not a carriage return at
// its end. A setting line that does not read (a number missing or
// extra, a value that is not finite, a negative lag, a measure other than 0
// or 1, a line of 255 bytes or more, which the host's read may have cut) is
// refused alone: the setting keeps its default, or what an earlier
// line of the block gave it. A line of any other keyword, an empty one or
// VERSION of any number is skipped, so a later version's block loads here with
// what this one knows. A later version adds settings only as lines of their
// own, so that such a line is skipped whole. A number may be written in any
// form that reads back to it ("2.5e-1"), but not with a leading '+'.
#pragma once

#include "focus/focus_instance.h"
#include "host/scene_file_states.h"

namespace kelto {

extern const char kFocusBlockStart[];          // "KELTO_FOCUS_START"
extern const char kFocusBlockVersion[];        // "VERSION"
extern const char kFocusBlockMeasure[];        // "MEASURE"
extern const char kFocusBlockSubjectOffset[];  // "SUBJECT_OFFSET"
extern const char kFocusBlockFocusOffset[];    // "FOCUS_OFFSET"
extern const char kFocusBlockLag[];            // "LAG"
extern const char kFocusBlockEnd[];            // "KELTO_FOCUS_END"

// The version this build writes.
const int32_t kFocusBlockVersionNumber = 1;

// Writes the block, each line one unit whose length counts its NUL. Names are
// refreshed from the items first, as in Kelto's block.
void saveFocusBlock(FocusInstance& instance, const host::SaveState& state);

// Reads the block as above and leaves the instance unresolved, so the next
// evaluation finds the items. Settings that no line sets take their defaults;
// names that no line gives stay as they were.
void loadFocusBlock(FocusInstance& instance, const host::LoadState& state);

}  // namespace kelto
