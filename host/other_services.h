// Services whose tables a module may hold without knowing their layout.
#pragma once

namespace host {

// Names of each service, newest first.
#define HOST_MESSAGE_SERVICE_4 "Info Messages 4"
#define HOST_MESSAGE_SERVICE_3 "Info Messages 3"
#define HOST_MESSAGE_SERVICE "Info Messages"
#define HOST_TEXTURE_SERVICE_6 "Texture Functions 6"
#define HOST_TEXTURE_SERVICE_5 "Texture Functions 5"
#define HOST_TEXTURE_SERVICE_4 "Texture Functions 4"
#define HOST_TEXTURE_SERVICE "Texture Functions"

// Process-wide tables owned by the host, valid while the module is loaded; their functions show
// messages and evaluate textures.
struct MessageService;
struct TextureService;

}  // namespace host
