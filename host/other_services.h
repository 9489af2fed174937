// Services that both modifiers look up and hold but never call: the host's messages and its texture
// functions. Their tables are declared in full so that a host can serve them and a module that does
// call them can be built from here.
#pragma once

#include <cstddef>

#include "host/host_types.h"

namespace host {

// Names of each service, newest first. Every name serves the same table; those of the 9.x hosts
// ("Info Messages 2", "Texture Functions 3") the first 7 and 30 of its functions.
#define HOST_MESSAGE_SERVICE_4 "Info Messages 4"
#define HOST_MESSAGE_SERVICE_3 "Info Messages 3"
#define HOST_MESSAGE_SERVICE_2 "Info Messages 2"
#define HOST_MESSAGE_SERVICE "Info Messages"
#define HOST_TEXTURE_SERVICE_6 "Texture Functions 6"
#define HOST_TEXTURE_SERVICE_5 "Texture Functions 5"
#define HOST_TEXTURE_SERVICE_4 "Texture Functions 4"
#define HOST_TEXTURE_SERVICE_3 "Texture Functions 3"
#define HOST_TEXTURE_SERVICE "Texture Functions"

// Process-wide table owned by the host, valid while the module is loaded (the SDK's LWMessageFuncs).
// Every function shows a message to the user and returns once it is dismissed; the texts are the
// caller's, read during the call. Main thread.
struct MessageService {
    // An information message of one or two lines (the second may be null). (info)
    void(HOST_CALL* info)(const char* line1, const char* line2);
    // An error message. (error)
    void(HOST_CALL* error)(const char* line1, const char* line2);
    // A warning. (warning)
    void(HOST_CALL* warning)(const char* line1, const char* line2);
    // Asks OK or Cancel: 1 for OK, 0 for Cancel. (okCancel)
    int(HOST_CALL* okCancel)(const char* title, const char* line1, const char* line2);
    // Asks Yes or No: 1 for Yes, 0 for No. (yesNo)
    int(HOST_CALL* yesNo)(const char* title, const char* line1, const char* line2);
    // Asks Yes, No or Cancel: 2, 1 or 0. (yesNoCan)
    int(HOST_CALL* yesNoCan)(const char* title, const char* line1, const char* line2);
    // Asks Yes, No, Yes to all or Cancel. (yesNoAll)
    int(HOST_CALL* yesNoAll)(const char* title, const char* line1, const char* line2);
    // Asks for a name; the host's text, valid until the next call, or null when cancelled. (askName)
    const char*(HOST_CALL* askName)(const char* title, const char* label, const char* initialName);
};

static_assert(offsetof(MessageService, okCancel) == 3 * sizeof(void*), "okCancel is the 4th function");
static_assert(sizeof(MessageService) == 8 * sizeof(void*), "the table ends with askName");

// Opaque handles of the texture functions, owned by the host.
typedef void* TextureId;
typedef struct TextureLayer* TextureLayerId;
typedef struct TextureContext* TextureContextId;
typedef struct TextureSpot* TextureSpotId;  // a shading spot (the SDK's LWMicropol)
typedef void* TextureParamData;

// One input parameter of a gradient, handed by value to contextAddParam (the SDK's LWTxtrParamDesc).
struct TextureParamDesc {
    const char* name;  // shown in the gradient's input popup
    double start, end;
    int type, flags, itemType;
    ItemId item;           // the item the parameter uses, if any
    const char* itemName;  // its name, if any
};

// The module's callbacks for a texture context, handed by value to contextCreate
// (the SDK's LWTxtrParamFuncs). The host calls them while it evaluates the texture.
struct TextureParamFunctions {
    double(HOST_CALL* paramEvaluate)(TextureParamDesc* param, int paramNumber, TextureSpotId spot,
                                     TextureParamData data);
    TextureParamData(HOST_CALL* paramTime)(void* userData, TextureParamDesc* param, int paramNumber, double time,
                                           int frame);
    void(HOST_CALL* paramCleanup)(TextureParamDesc* param, int paramNumber, TextureParamData data);
};

struct LoadState;
struct SaveState;

// Process-wide table owned by the host, valid while the module is loaded (the SDK's LWTextureFuncs):
// textures a module creates, layers, and their evaluation. What create returns the module owns until
// it calls destroy; layers belong to their texture. Texts returned are the host's, valid until the
// next call. Main thread, but evaluate, layerEvaluate, noise and evaluateUV, which a render thread may
// call.
struct TextureService {
    TextureContextId(HOST_CALL* contextCreate)(TextureParamFunctions functions);
    void(HOST_CALL* contextDestroy)(TextureContextId context);
    void(HOST_CALL* contextAddParam)(TextureContextId context, TextureParamDesc param);
    TextureId(HOST_CALL* create)(int returnType, const char* name, TextureContextId context, void* userData);
    void(HOST_CALL* destroy)(TextureId texture);
    void(HOST_CALL* copy)(TextureId to, TextureId from);
    void(HOST_CALL* newtime)(TextureId texture, double time, int frame);
    void(HOST_CALL* cleanup)(TextureId texture);
    void(HOST_CALL* load)(TextureId texture, const LoadState* state);
    void(HOST_CALL* save)(TextureId texture, const SaveState* state);
    // The texture's value at the spot; writes its colour or vector into result.
    double(HOST_CALL* evaluate)(TextureId texture, TextureSpotId spot, double* result);
    void(HOST_CALL* setEnvGroup)(TextureId texture, void* group);
    TextureLayerId(HOST_CALL* firstLayer)(TextureId texture);
    TextureLayerId(HOST_CALL* lastLayer)(TextureId texture);
    TextureLayerId(HOST_CALL* nextLayer)(TextureId texture, TextureLayerId layer);
    TextureLayerId(HOST_CALL* layerAdd)(TextureId texture, int layerType);
    void(HOST_CALL* layerSetType)(TextureLayerId layer, int layerType);
    int(HOST_CALL* layerType)(TextureLayerId layer);
    double(HOST_CALL* layerEvaluate)(TextureLayerId layer, TextureSpotId spot, double* result);
    void*(HOST_CALL* layerEnvGroup)(TextureLayerId layer);
    int(HOST_CALL* setParam)(TextureLayerId layer, int tag, void* data);
    int(HOST_CALL* getParam)(TextureLayerId layer, int tag, void* data);
    void(HOST_CALL* evaluateUV)(TextureLayerId layer, int wAxis, int oAxis, double oPos[3], double wPos[3],
                                double uv[2]);
    // Perlin noise at the point, in [0, 1].
    double(HOST_CALL* noise)(double point[3]);
    void*(HOST_CALL* userData)(TextureId texture);
    void*(HOST_CALL* envGroup)(TextureId texture);
    TextureId(HOST_CALL* texture)(TextureLayerId layer);
    const char*(HOST_CALL* name)(TextureId texture);
    int(HOST_CALL* type)(TextureId texture);
    TextureContextId(HOST_CALL* context)(TextureId texture);
    double(HOST_CALL* currentTime)(TextureId texture);
    int(HOST_CALL* gradientClearParam)(TextureLayerId layer, TextureContextId context);
    int(HOST_CALL* gradientInitParam)(TextureLayerId layer, TextureContextId context);
};

static_assert(offsetof(TextureService, evaluate) == 10 * sizeof(void*), "evaluate is the 11th function");
static_assert(offsetof(TextureService, noise) == 23 * sizeof(void*), "noise is the 24th function");
static_assert(sizeof(TextureService) == 33 * sizeof(void*), "the table ends with gradientInitParam");

}  // namespace host
