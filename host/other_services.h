// Services whose tables a module may hold without knowing their layout.
#pragma once

namespace host {

#define HOST_MESSAGE_SERVICE "Info Messages"
#define HOST_TEXTURE_SERVICE "Texture Functions"

// Process-wide tables owned by the host, valid while the module is loaded;
// their functions show messages and evaluate textures.
struct MessageService;
struct TextureService;

}  // namespace host
