// Services the channel handler must find at activation although the module
// never calls them. Their tables are opaque to the module.
#pragma once

namespace host {

#define HOST_MESSAGE_SERVICE "Info Messages"
#define HOST_TEXTURE_SERVICE "Texture Functions"

// Tables owned by the host; held by the module, never called.
struct MessageService;
struct TextureService;

}  // namespace host
