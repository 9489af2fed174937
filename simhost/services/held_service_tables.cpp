// "Info Messages" and "Texture Functions" as the simulated host serves them.
// It has no user to show a message to and no textures, so every function
// gives the neutral answer: nothing shown, "cancel", 0, null, and nothing
// written. Each call is noted, since both modifiers promise never to make one.
#include <cstddef>

#include "host/other_services.h"
#include "simhost/services/host_session.h"
#include "simhost/services/service_tables.h"

namespace sim {

namespace {

const char* const kMessageFunctions[] = {"info",  "error",    "warning",  "okCancel",
                                         "yesNo", "yesNoCan", "yesNoAll", "askName"};
const char* const kTextureFunctions[] = {"contextCreate",
                                         "contextDestroy",
                                         "contextAddParam",
                                         "create",
                                         "destroy",
                                         "copy",
                                         "newtime",
                                         "cleanup",
                                         "load",
                                         "save",
                                         "evaluate",
                                         "setEnvGroup",
                                         "firstLayer",
                                         "lastLayer",
                                         "nextLayer",
                                         "layerAdd",
                                         "layerSetType",
                                         "layerType",
                                         "layerEvaluate",
                                         "layerEnvGroup",
                                         "setParam",
                                         "getParam",
                                         "evaluateUV",
                                         "noise",
                                         "userData",
                                         "envGroup",
                                         "texture",
                                         "name",
                                         "type",
                                         "context",
                                         "currentTime",
                                         "gradientClearParam",
                                         "gradientInitParam"};

static_assert(sizeof kMessageFunctions / sizeof *kMessageFunctions == sizeof(host::MessageService) / sizeof(void*),
              "a name for every message function");
static_assert(sizeof kTextureFunctions / sizeof *kTextureFunctions == sizeof(host::TextureService) / sizeof(void*),
              "a name for every texture function");

template <typename Table>
struct TableFacts;

template <>
struct TableFacts<host::MessageService> {
    static constexpr const char* service = HOST_MESSAGE_SERVICE;
    static constexpr const char* const* functions = kMessageFunctions;
};

template <>
struct TableFacts<host::TextureService> {
    static constexpr const char* service = HOST_TEXTURE_SERVICE;
    static constexpr const char* const* functions = kTextureFunctions;
};

// The function at `Slot` of `Table`, of the signature `Function`: notes the
// call and answers with the zero of its result.
template <typename Table, size_t Slot, typename Function>
struct Served;

template <typename Table, size_t Slot, typename Result, typename... Arguments>
struct Served<Table, Slot, Result (*)(Arguments...)> {
    static Result HOST_CALL call(Arguments...) {
        const char* service = TableFacts<Table>::service;
        const char* function = TableFacts<Table>::functions[Slot];
        HostSession::serving(service, function).recordHeldServiceCall(std::string(service) + " " + function);
        if constexpr (!std::is_void_v<Result>) return Result();
    }
};

#define SERVED(Table, Slot, Field) Served<host::Table, Slot, decltype(host::Table::Field)>::call

const host::MessageService kMessages = {
    SERVED(MessageService, 0, info),     SERVED(MessageService, 1, error),   SERVED(MessageService, 2, warning),
    SERVED(MessageService, 3, okCancel), SERVED(MessageService, 4, yesNo),   SERVED(MessageService, 5, yesNoCan),
    SERVED(MessageService, 6, yesNoAll), SERVED(MessageService, 7, askName),
};

const host::TextureService kTextures = {
    SERVED(TextureService, 0, contextCreate),
    SERVED(TextureService, 1, contextDestroy),
    SERVED(TextureService, 2, contextAddParam),
    SERVED(TextureService, 3, create),
    SERVED(TextureService, 4, destroy),
    SERVED(TextureService, 5, copy),
    SERVED(TextureService, 6, newtime),
    SERVED(TextureService, 7, cleanup),
    SERVED(TextureService, 8, load),
    SERVED(TextureService, 9, save),
    SERVED(TextureService, 10, evaluate),
    SERVED(TextureService, 11, setEnvGroup),
    SERVED(TextureService, 12, firstLayer),
    SERVED(TextureService, 13, lastLayer),
    SERVED(TextureService, 14, nextLayer),
    SERVED(TextureService, 15, layerAdd),
    SERVED(TextureService, 16, layerSetType),
    SERVED(TextureService, 17, layerType),
    SERVED(TextureService, 18, layerEvaluate),
    SERVED(TextureService, 19, layerEnvGroup),
    SERVED(TextureService, 20, setParam),
    SERVED(TextureService, 21, getParam),
    SERVED(TextureService, 22, evaluateUV),
    SERVED(TextureService, 23, noise),
    SERVED(TextureService, 24, userData),
    SERVED(TextureService, 25, envGroup),
    SERVED(TextureService, 26, texture),
    SERVED(TextureService, 27, name),
    SERVED(TextureService, 28, type),
    SERVED(TextureService, 29, context),
    SERVED(TextureService, 30, currentTime),
    SERVED(TextureService, 31, gradientClearParam),
    SERVED(TextureService, 32, gradientInitParam),
};

#undef SERVED

}  // namespace

const host::MessageService& messageServiceTable() { return kMessages; }
const host::TextureService& textureServiceTable() { return kTextures; }

}  // namespace sim
