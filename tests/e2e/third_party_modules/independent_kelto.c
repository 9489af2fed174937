/*
 * Kelto written again, as a third party would write it: in C, from the SDK's headers (lwmodule.h,
 * lwserver.h, lwhandler.h, lwchannel.h, lwrender.h, lwio.h, lwxpanel.h, lwhost.h) and from Kelto's
 * README and docs alone, with none of the project's own headers or code. The records it needs are
 * declared here, each as the SDK lays it out.
 *
 * It differs from kelto.p wherever the host and the docs leave room: it asks for the services by the
 * SDK's names before the ones the docs give; it saves each line with the length of its text, the NUL
 * left out (in ASCII mode the host takes the length from the string); it reads its keywords whole,
 * finds its references at the first call that needs them, sums the squares in its own order, and
 * asks no position while a reference is missing.
 *
 * Built as it is, it is a sound Kelto. Each of these definitions breaks one promise, for the
 * conformance check to find:
 *   BREAK_DESCRIPTION          the description line has one blank where the README has three;
 *   STARTS_WITHOUT_MESSAGES    the handler starts on a host without "Info Messages" or "Texture
 *                              Functions", which Kelto promises to refuse;
 *   READS_PAST_EMPTY_LINE      an empty line in the block is skipped, where the README says it
 *                              ends the block.
 */
#include <math.h>
#include <stdlib.h>
#include <string.h>

/* lwtypes.h, lwserver.h, lwmodule.h */

typedef int LWFrame;
typedef double LWTime;
typedef void* LWItemID;
typedef void* LWChannelID;
typedef void* LWInstance;
typedef const char* LWError;
typedef int LWItemType;
typedef int LWItemParam;

typedef void* GlobalFunc(const char* serviceName, int useMode);
typedef int ActivateFunc(int version, GlobalFunc* global, void* local, void* serverData);

#define GFUSE_TRANSIENT 0
#define AFUNC_OK 0
#define AFUNC_BADVERSION 1
#define AFUNC_BADGLOBAL 2

typedef struct st_ServerRecord {
    const char* className;
    const char* name;
    ActivateFunc* activate;
    void* tagInfo;
} ServerRecord;

typedef struct st_ModuleDescriptor {
    unsigned int sysSync;
    unsigned int sysVersion;
    unsigned int sysMachine;
    void* (*startup)(void);
    void (*shutdown)(void*);
    ServerRecord* serverDefs;
} ModuleDescriptor;

#define MOD_SYSSYNC 0x04121994
#define MOD_SYSVER 3
/* lwmodule.h's codes are Windows' 0x300 and the Mac's 0x400; a Linux module carries 0x500, as
 * docs/developing.md says. */
#if defined(_WIN32)
#define MOD_MACHINE 0x300
#elif defined(__APPLE__)
#define MOD_MACHINE 0x400
#else
#define MOD_MACHINE 0x500
#endif

/* lwio.h: in ASCII mode a write is a line whose length the host takes from the string, and a read
 * gives up to `length` bytes of the current line, or -1 at the end of the data. */

typedef unsigned int LWID;
typedef struct st_LWBlockIdent {
    LWID id;
    const char* token;
} LWBlockIdent;

typedef struct st_LWSaveState {
    int ioMode;
    void* writeData;
    void (*write)(void* data, const char*, int length);
    void (*writeI1)(void* data, const char*, int n);
    void (*writeI2)(void* data, const short*, int n);
    void (*writeI4)(void* data, const int*, int n);
    void (*writeU1)(void* data, const unsigned char*, int n);
    void (*writeU2)(void* data, const unsigned short*, int n);
    void (*writeU4)(void* data, const unsigned int*, int n);
    void (*writeFP)(void* data, const float*, int n);
    void (*writeStr)(void* data, const char*);
    void (*writeID)(void* data, const LWBlockIdent*);
    void (*beginBlk)(void* data, const LWBlockIdent*, int leaf);
    void (*endBlk)(void* data);
    int (*depth)(void* data);
    void (*writeDP)(void* data, const double*, int n);
} LWSaveState;

typedef struct st_LWLoadState {
    int ioMode;
    void* readData;
    int (*read)(void* data, char*, int length);
    int (*readI1)(void* data, char*, int n);
    int (*readI2)(void* data, short*, int n);
    int (*readI4)(void* data, int*, int n);
    int (*readU1)(void* data, unsigned char*, int n);
    int (*readU2)(void* data, unsigned short*, int n);
    int (*readU4)(void* data, unsigned int*, int n);
    int (*readFP)(void* data, float*, int n);
    int (*readStr)(void* data, char*, int max);
    LWID (*readID)(void* data, const LWBlockIdent*);
    LWID (*findBlk)(void* data, const LWBlockIdent*);
    void (*endBlk)(void* data);
    int (*depth)(void* data);
    int (*readDP)(void* data, double*, int n);
} LWLoadState;

/* lwhandler.h, lwrender.h, lwchannel.h */

typedef struct st_LWInstanceFuncs {
    void* priv;
    LWInstance (*create)(void* priv, void* context, LWError*);
    void (*destroy)(LWInstance);
    LWError (*copy)(LWInstance, LWInstance from);
    LWError (*load)(LWInstance, const LWLoadState*);
    LWError (*save)(LWInstance, const LWSaveState*);
    const char* (*descln)(LWInstance);
} LWInstanceFuncs;

typedef struct st_LWItemFuncs {
    const LWItemID* (*useItems)(LWInstance);
    void (*changeID)(LWInstance, const LWItemID*);
    void (*changeName)(LWInstance, const void*);
} LWItemFuncs;

typedef struct st_LWInterface {
    LWInstance inst;
    void* panel;
    LWError (*options)(LWInstance);
    LWError (*command)(LWInstance, const char*);
} LWInterface;

#define LWCHANNEL_HCLASS "ChannelHandler"
#define LWCHANNEL_ICLASS "ChannelInterface"
#define LWCHANNEL_VERSION 4

typedef struct st_LWChannelAccess {
    LWChannelID chan;
    LWFrame frame;
    LWTime time;
    double value;
    void (*getChannel)(LWChannelID chan, LWTime t, double* value);
    void (*setChannel)(LWChannelID chan, const double value);
    const char* (*channelName)(LWChannelID chan);
} LWChannelAccess;

typedef struct st_LWChannelHandler {
    LWInstanceFuncs* inst;
    LWItemFuncs* item;
    void (*evaluate)(LWInstance, const LWChannelAccess*);
    unsigned int (*flags)(LWInstance);
} LWChannelHandler;

/* Hosts since 2020 speak version 5, whose access record puts the host's own data first and hands
 * it back to each of its functions (docs/kelto-host.md); the handler record is laid out alike. */
#define LWCHANNEL_CURRENT_VERSION 5

typedef struct st_LWChannelAccessCurrent {
    void* hostData;
    LWChannelID chan;
    LWFrame frame;
    LWTime time;
    double value;
    void (*getChannel)(void* hostData, LWChannelID chan, LWTime t, double* value);
    void (*setChannel)(void* hostData, LWChannelID chan, const double value);
    const char* (*channelName)(void* hostData, LWChannelID chan);
} LWChannelAccessCurrent;

typedef struct st_LWChannelHandlerCurrent {
    LWInstanceFuncs* inst;
    LWItemFuncs* item;
    void (*evaluate)(LWInstance, const LWChannelAccessCurrent*);
    unsigned int (*flags)(LWInstance);
} LWChannelHandlerCurrent;

#define LWI_OBJECT 0
#define LWI_CAMERA 2
#define LWIP_W_POSITION 8

/* The item-info table's first ten functions, which every version of it keeps in place; the rest
 * follow and are not used here. */
typedef struct st_LWItemInfo {
    LWItemID (*first)(LWItemType, LWItemID);
    LWItemID (*next)(LWItemID);
    LWItemID (*firstChild)(LWItemID parent);
    LWItemID (*nextChild)(LWItemID parent, LWItemID prevChild);
    LWItemID (*parent)(LWItemID);
    LWItemID (*target)(LWItemID);
    LWItemID (*goal)(LWItemID);
    LWItemType (*type)(LWItemID);
    const char* (*name)(LWItemID);
    void (*param)(LWItemID, LWItemParam, LWTime, double vector[3]);
} LWItemInfo;

/* lwhost.h: held, never called. lwtxtr.h's table likewise, never looked into. */
typedef struct st_LWMessageFuncs {
    void (*info)(const char*, const char*);
    void (*error)(const char*, const char*);
    void (*warning)(const char*, const char*);
    int (*okCancel)(const char* ttl, const char*, const char*);
    int (*yesNo)(const char* ttl, const char*, const char*);
    int (*yesNoCan)(const char* ttl, const char*, const char*);
    int (*yesNoAll)(const char* ttl, const char*, const char*);
} LWMessageFuncs;

struct st_LWTextureFuncs;

/* lwxpanel.h */

typedef void* LWXPanelID;
typedef void* LWXPanelHint;

typedef struct st_LWXPanelControl {
    unsigned int cid;
    const char* label;
    const char* ctrlclass;
} LWXPanelControl;

typedef struct st_LWXPanelDataDesc {
    unsigned int vid;
    const char* name;
    const char* datatype;
} LWXPanelDataDesc;

typedef enum en_LWXPRefreshCodes { LWXPRC_NONE = 0, LWXPRC_DFLT, LWXPRC_DRAW, LWXPRC_FULL } LWXPRefreshCode;

typedef void* LWXPanelGetFunc(void* inst, unsigned int vid);
typedef LWXPRefreshCode LWXPanelSetFunc(void* inst, unsigned int vid, void* value);
typedef int LWXPanelPopCntFunc(void* userdata);
typedef const char* LWXPanelPopNameFunc(void* userdata, int idx);

typedef struct st_LWXPanelFuncs {
    int version;
    void* drawf;
    LWXPanelID (*create)(int type, LWXPanelControl* ctrlDesc);
    void (*destroy)(LWXPanelID panel);
    void (*describe)(LWXPanelID panel, LWXPanelDataDesc* dataDesc, LWXPanelGetFunc* get, LWXPanelSetFunc* set);
    void (*hint)(LWXPanelID panel, unsigned int an_id, LWXPanelHint* hints);
    void* (*getData)(LWXPanelID panel, unsigned int data_id);
    void (*setData)(LWXPanelID panel, unsigned int data_id, void* data);
    void* (*formGet)(LWXPanelID panel, unsigned int vid);
    void (*formSet)(LWXPanelID panel, unsigned int vid, void* value);
    void (*viewInst)(LWXPanelID panel, void* inst);
    void (*viewRefresh)(LWXPanelID panel);
    int (*post)(LWXPanelID panel);
    int (*open)(LWXPanelID panel);
} LWXPanelFuncs;

#define LWXP_VIEW 1
#define XPTAG_END ((LWXPanelHint)0)
#define XPTAG_LABEL ((LWXPanelHint)0x3D000B03)
#define XPTAG_POPFUNCS ((LWXPanelHint)0x3D016203)

/* What the README and docs say Kelto is. */

#define SERVER_NAME "Kelto"
#if defined(BREAK_DESCRIPTION)
#define DESCRIPTION "KELTO by VEM"
#else
#define DESCRIPTION "KELTO   by VEM"
#endif
#define PANEL_TITLE "Zivov Udiruvu"
#define ITEM_CONTROL 0x8001u
#define CAMERA_CONTROL 0x8002u
#define NONE_ENTRY "(none)"
#define BLOCK_START "KELTO_START"
#define ITEM_KEYWORD "REFERENCE_ITEM"
#define CAMERA_KEYWORD "REFERENCE_CAMERA"
#define BLOCK_END "KELTO_END"
#define NONE_NAME "none"
/* A name of up to 255 bytes is kept whole; a longer one is cut, never inside a UTF-8 character. */
#define NAME_SIZE 256

/* Each service by the SDK's name first, then by the one the docs give; null ends a list. */
static const char* const ITEM_INFO_NAMES[] = {"LW Item Info 5", "LW Item Info 3", NULL};
static const char* const MESSAGE_NAMES[] = {"Info Messages 2", "Info Messages", NULL};
static const char* const TEXTURE_NAMES[] = {"Texture Functions 3", "Texture Functions", NULL};
static const char* const PANEL_NAMES[] = {"LWXPanel", NULL};

/* The tables of the last handler activation that succeeded, and the version it took: the
 * interface takes that version alone. */
static const LWItemInfo* g_itemInfo;
static const LWMessageFuncs* g_messages;
static const struct st_LWTextureFuncs* g_textures;
static int g_handlerVersion = LWCHANNEL_VERSION;

/* One reference: the item it holds, or none; its name as the block gave it, kept while its item is
 * missing from the scene, empty for none; the popup's value, worked out at each get. */
typedef struct {
    LWItemID id;
    char name[NAME_SIZE];
    int choice;
} Reference;

typedef struct {
    Reference item, camera;
    int resolved; /* the names have been looked for since the last load */
    LWItemID used[3];
} Kelto;

static void* lookUp(GlobalFunc* global, const char* const* names) {
    for (; *names != NULL; ++names) {
        void* table = global(*names, GFUSE_TRANSIENT);
        if (table != NULL) return table;
    }
    return NULL;
}

/* Copies `text` into a name buffer; a text too long is cut before the character that would not fit
 * whole. */
static void copyName(char* name, const char* text) {
    size_t length = strlen(text);
    if (length >= NAME_SIZE) {
        length = NAME_SIZE - 1;
        while (length > 0 && ((unsigned char)text[length] & 0xC0) == 0x80) --length;
    }
    memcpy(name, text, length);
    name[length] = '\0';
}

/* The scene's items of one list, walked afresh each time. */
static LWItemID itemAt(LWItemType type, int place) {
    LWItemID item = place > 0 ? g_itemInfo->first(type, NULL) : NULL;
    while (item != NULL && --place > 0) item = g_itemInfo->next(item);
    return item;
}

static int placeOf(LWItemType type, LWItemID wanted) {
    int place = 1;
    LWItemID item;
    if (wanted == NULL) return 0;
    for (item = g_itemInfo->first(type, NULL); item != NULL; item = g_itemInfo->next(item), ++place)
        if (item == wanted) return place;
    return 0;
}

/* The first item of that name, objects before cameras; an empty name is no reference. */
static LWItemID itemNamed(const char* name) {
    static const LWItemType lists[] = {LWI_OBJECT, LWI_CAMERA};
    size_t list;
    LWItemID item;
    if (name[0] == '\0') return NULL;
    for (list = 0; list < sizeof lists / sizeof lists[0]; ++list)
        for (item = g_itemInfo->first(lists[list], NULL); item != NULL; item = g_itemInfo->next(item))
            if (strcmp(g_itemInfo->name(item), name) == 0) return item;
    return NULL;
}

/* Names are looked for once after a load, at the first call that needs the items. */
static void resolve(Kelto* kelto) {
    if (kelto->resolved) return;
    kelto->item.id = itemNamed(kelto->item.name);
    kelto->camera.id = itemNamed(kelto->camera.name);
    kelto->resolved = 1;
}

/* Instances. */

static LWInstance create(void* priv, void* context, LWError* error) {
    (void)priv;
    (void)context;
    (void)error;
    return calloc(1, sizeof(Kelto));
}

static void destroy(LWInstance instance) { free(instance); }

static LWError copy(LWInstance to, LWInstance from) {
    memcpy(to, from, sizeof(Kelto));
    return NULL;
}

static const char* describe(LWInstance instance) {
    (void)instance;
    return DESCRIPTION;
}

static unsigned int flags(LWInstance instance) {
    (void)instance;
    return 0;
}

/* The block. */

static void writeLine(const LWSaveState* save, const char* text) {
    save->write(save->writeData, text, (int)strlen(text));
}

static void saveReference(const LWSaveState* save, const char* keyword, const Reference* reference) {
    char name[NAME_SIZE];
    writeLine(save, keyword);
    if (reference->id != NULL)
        copyName(name, g_itemInfo->name(reference->id));
    else
        copyName(name, reference->name[0] != '\0' ? reference->name : NONE_NAME);
    writeLine(save, name);
}

static LWError save(LWInstance instance, const LWSaveState* state) {
    Kelto* kelto = instance;
    writeLine(state, BLOCK_START);
    saveReference(state, ITEM_KEYWORD, &kelto->item);
    saveReference(state, CAMERA_KEYWORD, &kelto->camera);
    writeLine(state, BLOCK_END);
    return NULL;
}

/* The next line, or 0 at the end of the data. A line that filled the buffer may have been cut by
 * the host inside a character: the part of one left at its end goes. */
static int readLine(const LWLoadState* state, char* line) {
    int length = state->read(state->readData, line, NAME_SIZE);
    if (length < 0) return 0;
    line[length < NAME_SIZE ? length : NAME_SIZE - 1] = '\0';
    if (length >= NAME_SIZE - 1) {
        size_t start = strlen(line), end = start;
        while (start > 0 && ((unsigned char)line[start - 1] & 0xC0) == 0x80) --start;
        if (start > 0 && ((unsigned char)line[start - 1] & 0xC0) == 0xC0) {
            unsigned char lead = (unsigned char)line[start - 1];
            size_t whole = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
            if (end - (start - 1) < whole) line[start - 1] = '\0';
        }
    }
    return 1;
}

static LWError load(LWInstance instance, const LWLoadState* state) {
    Kelto* kelto = instance;
    char line[NAME_SIZE];
    if (!readLine(state, line) || strcmp(line, BLOCK_START) != 0) return NULL;
    while (readLine(state, line)) {
        if (strcmp(line, BLOCK_END) == 0) break;
#if !defined(READS_PAST_EMPTY_LINE)
        if (line[0] == '\0') break; /* an empty line ends the block */
#endif
        if (strcmp(line, ITEM_KEYWORD) == 0 && readLine(state, line))
            memcpy(kelto->item.name, line, NAME_SIZE);
        else if (strcmp(line, CAMERA_KEYWORD) == 0 && readLine(state, line))
            memcpy(kelto->camera.name, line, NAME_SIZE);
    }
    kelto->item.id = kelto->camera.id = NULL;
    kelto->resolved = 0;
    return NULL;
}

/* Evaluation: the straight line between the two items' world positions, or the channel left alone
 * while either is missing. */

static int distanceAt(Kelto* kelto, LWTime time, double* distance) {
    double a[3], b[3], dx, dy, dz;
    resolve(kelto);
    if (kelto->item.id == NULL || kelto->camera.id == NULL) return 0;
    g_itemInfo->param(kelto->item.id, LWIP_W_POSITION, time, a);
    g_itemInfo->param(kelto->camera.id, LWIP_W_POSITION, time, b);
    dx = a[0] - b[0];
    dy = a[1] - b[1];
    dz = a[2] - b[2];
    *distance = sqrt(dx * dx + dy * dy + dz * dz);
    return 1;
}

static void evaluate(LWInstance instance, const LWChannelAccess* access) {
    double distance;
    if (distanceAt(instance, access->time, &distance)) access->setChannel(access->chan, distance);
}

static void evaluateCurrent(LWInstance instance, const LWChannelAccessCurrent* access) {
    double distance;
    if (distanceAt(instance, access->time, &distance)) access->setChannel(access->hostData, access->chan, distance);
}

/* Items: the references follow the IDs the host announces; a deleted item's reference becomes none. */

static const LWItemID* useItems(LWInstance instance) {
    Kelto* kelto = instance;
    size_t count = 0;
    if (kelto->item.id != NULL) kelto->used[count++] = kelto->item.id;
    if (kelto->camera.id != NULL && kelto->camera.id != kelto->item.id) kelto->used[count++] = kelto->camera.id;
    kelto->used[count] = NULL;
    return kelto->used;
}

/* The pairs hold at once: each reference takes the new ID of the pair whose old one it holds. */
static void follow(Reference* reference, const LWItemID* pairs) {
    for (; reference->id != NULL && pairs[0] != NULL; pairs += 2)
        if (pairs[0] == reference->id) {
            reference->id = pairs[1];
            if (reference->id == NULL) reference->name[0] = '\0';
            return;
        }
}

static void changeID(LWInstance instance, const LWItemID* pairs) {
    Kelto* kelto = instance;
    follow(&kelto->item, pairs);
    follow(&kelto->camera, pairs);
}

/* The panel: two popups, "(none)" and then the objects, or the cameras, in list order. */

static int countOf(LWItemType type) {
    int count = 1;
    LWItemID item;
    for (item = g_itemInfo->first(type, NULL); item != NULL; item = g_itemInfo->next(item)) ++count;
    return count;
}

static const char* entryOf(LWItemType type, int entry) {
    LWItemID item = itemAt(type, entry);
    if (entry == 0) return NONE_ENTRY;
    return item != NULL ? g_itemInfo->name(item) : "";
}

static int objectCount(void* userdata) {
    (void)userdata;
    return countOf(LWI_OBJECT);
}

static int cameraCount(void* userdata) {
    (void)userdata;
    return countOf(LWI_CAMERA);
}

static const char* objectEntry(void* userdata, int entry) {
    (void)userdata;
    return entryOf(LWI_OBJECT, entry);
}

static const char* cameraEntry(void* userdata, int entry) {
    (void)userdata;
    return entryOf(LWI_CAMERA, entry);
}

static Reference* referenceOf(Kelto* kelto, unsigned int control, LWItemType* type) {
    *type = control == ITEM_CONTROL ? LWI_OBJECT : LWI_CAMERA;
    if (control == ITEM_CONTROL) return &kelto->item;
    if (control == CAMERA_CONTROL) return &kelto->camera;
    return NULL;
}

static void* get(void* instance, unsigned int control) {
    LWItemType type;
    Reference* reference = instance != NULL ? referenceOf(instance, control, &type) : NULL;
    if (reference == NULL) return NULL;
    resolve(instance);
    reference->choice = placeOf(type, reference->id);
    return &reference->choice;
}

/* A pick of "(none)" asks the panel to redraw; a pick of an item does not. */
static LWXPRefreshCode set(void* instance, unsigned int control, void* value) {
    LWItemType type;
    Reference* reference = instance != NULL ? referenceOf(instance, control, &type) : NULL;
    if (reference == NULL || value == NULL) return LWXPRC_NONE;
    resolve(instance);
    reference->id = itemAt(type, *(const int*)value);
    if (reference->id != NULL) return LWXPRC_NONE;
    reference->name[0] = '\0';
    return LWXPRC_DFLT;
}

/* A hint list holds functions among its words. */
static LWXPanelHint functionHint(void (*function)(void)) {
    LWXPanelHint hint;
    memcpy(&hint, &function, sizeof hint);
    return hint;
}

static LWXPanelID buildPanel(const LWXPanelFuncs* toolkit, Kelto* kelto) {
    static LWXPanelControl controls[] = {
        {ITEM_CONTROL, "Reference Item", "iPopChoice"},
        {CAMERA_CONTROL, "Reference Camera", "iPopChoice"},
        {0, NULL, NULL},
    };
    static LWXPanelDataDesc data[] = {
        {ITEM_CONTROL, "Reference Item", "integer"},
        {CAMERA_CONTROL, "Reference Camera", "integer"},
        {0, NULL, NULL},
    };
    LWXPanelHint hints[] = {
        XPTAG_LABEL,    (LWXPanelHint)0,
        PANEL_TITLE,    XPTAG_END,
        XPTAG_POPFUNCS, (LWXPanelHint)(size_t)ITEM_CONTROL,
        NULL,           NULL,
        XPTAG_POPFUNCS, (LWXPanelHint)(size_t)CAMERA_CONTROL,
        NULL,           NULL,
        XPTAG_END,
    };
    LWXPanelID panel = toolkit->create(LWXP_VIEW, controls);
    if (panel == NULL) return NULL;
    hints[6] = functionHint((void (*)(void))objectCount);
    hints[7] = functionHint((void (*)(void))objectEntry);
    hints[10] = functionHint((void (*)(void))cameraCount);
    hints[11] = functionHint((void (*)(void))cameraEntry);
    toolkit->hint(panel, 0, hints);
    toolkit->describe(panel, data, get, set);
    toolkit->viewInst(panel, kelto);
    return panel;
}

/* Activations. */

static LWInstanceFuncs* fillInstanceFuncs(LWInstanceFuncs* funcs) {
    funcs->create = create;
    funcs->destroy = destroy;
    funcs->copy = copy;
    funcs->load = load;
    funcs->save = save;
    funcs->descln = describe;
    return funcs;
}

static int handler(int version, GlobalFunc* global, void* local, void* serverData) {
    const LWItemInfo* itemInfo;
    const LWMessageFuncs* messages;
    const struct st_LWTextureFuncs* textures;
    LWItemFuncs* items;
    (void)serverData;
    if (version != LWCHANNEL_VERSION && version != LWCHANNEL_CURRENT_VERSION) return AFUNC_BADVERSION;
    itemInfo = lookUp(global, ITEM_INFO_NAMES);
    messages = lookUp(global, MESSAGE_NAMES);
    textures = lookUp(global, TEXTURE_NAMES);
#if defined(STARTS_WITHOUT_MESSAGES)
    if (itemInfo == NULL) return AFUNC_BADGLOBAL;
#else
    /* Kelto holds the messages and textures though it never calls them, and promises to start on no
     * host that lacks them. */
    if (itemInfo == NULL || messages == NULL || textures == NULL) return AFUNC_BADGLOBAL;
#endif
    g_itemInfo = itemInfo;
    g_messages = messages;
    g_textures = textures;
    g_handlerVersion = version;
    if (version == LWCHANNEL_CURRENT_VERSION) {
        LWChannelHandlerCurrent* record = local;
        fillInstanceFuncs(record->inst);
        items = record->item;
        record->evaluate = evaluateCurrent;
        record->flags = flags;
    } else {
        LWChannelHandler* record = local;
        fillInstanceFuncs(record->inst);
        items = record->item;
        record->evaluate = evaluate;
        record->flags = flags;
    }
    if (items != NULL) {
        items->useItems = useItems;
        items->changeID = changeID;
        items->changeName = NULL;
    }
    return AFUNC_OK;
}

static int interface(int version, GlobalFunc* global, void* local, void* serverData) {
    LWInterface* record = local;
    const LWXPanelFuncs* toolkit;
    (void)serverData;
    if (version != g_handlerVersion) return AFUNC_BADVERSION;
    toolkit = lookUp(global, PANEL_NAMES);
    record->panel = toolkit != NULL && record->inst != NULL ? buildPanel(toolkit, record->inst) : NULL;
    record->options = NULL;
    record->command = NULL;
    return AFUNC_OK;
}

/* The module. */

static int g_started;

static void* startup(void) { return &g_started; }

static void shutdown(void* serverData) { (void)serverData; }

static ServerRecord g_servers[] = {
    {LWCHANNEL_HCLASS, SERVER_NAME, handler, NULL},
    {LWCHANNEL_ICLASS, SERVER_NAME, interface, NULL},
    {NULL, NULL, NULL, NULL},
};

__attribute__((visibility("default"))) ModuleDescriptor _mod_descrip = {
    MOD_SYSSYNC, MOD_SYSVER, MOD_MACHINE, startup, shutdown, g_servers,
};
