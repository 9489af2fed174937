// Kelto's unit tests: the scene with Kelto's handler activated.
#pragma once

#include "module/handler_entry.h"
#include "scene_fixture.h"

namespace unit {

class SceneFixture : public ActivatedSceneFixture<kelto::activateChannelHandler> {};

}  // namespace unit
