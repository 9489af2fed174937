// How many of a popup's entries a pick looks through: each is read through
// the module's name function, which may walk its list from the start, so a
// longer search could run for minutes (panel_toolkit_model.h). Apart from
// the toolkit so that the options that quote it need nothing else of it.
#pragma once

namespace sim {

const int kMaxPickEntries = 10000;

}  // namespace sim
