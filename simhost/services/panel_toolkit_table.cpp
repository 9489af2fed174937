// "LWXPanel" as the simulated host serves it: the C table whose functions
// reach the current session's panel model. Every function is served; where
// the host models no screen or user it gives the toolkit's neutral answer.
#include "simhost/services/host_session.h"
#include "simhost/services/service_tables.h"
#include "simhost/services/serving_thread.h"

namespace sim {

namespace {

PanelToolkitModel& toolkit(const char* function) {
    return HostSession::serving(HOST_PANEL_TOOLKIT_SERVICE, function).panels();
}

host::PanelId HOST_CALL create(int type, const host::PanelControl* controls) {
    return toolkit("create").createPanel(type, controls);
}
void HOST_CALL destroy(host::PanelId panel) { toolkit("destroy").destroyPanel(panel); }
void HOST_CALL describe(host::PanelId panel, const host::PanelDataDescription* data, host::PanelGetFunction get,
                        host::PanelSetFunction set) {
    toolkit("describe").describeValues(panel, data, get, set);
}
void HOST_CALL hint(host::PanelId panel, uint32_t id, const host::PanelHintWord* hints) {
    toolkit("hint").applyHints(panel, id, hints);
}
void* HOST_CALL getData(host::PanelId panel, uint32_t id) { return toolkit("getData").userData(panel, id); }
void HOST_CALL setData(host::PanelId panel, uint32_t id, void* data) {
    toolkit("setData").setUserData(panel, id, data);
}
void* HOST_CALL formGet(host::PanelId panel, uint32_t id) { return toolkit("formGet").formValue(panel, id); }
void HOST_CALL formSet(host::PanelId panel, uint32_t id, void* value) {
    toolkit("formSet").setFormValue(panel, id, value);
}
void HOST_CALL viewInstance(host::PanelId panel, void* instance) {
    toolkit("viewInst").setViewedInstance(panel, instance);
}
// The panel is drawn afresh, values read anew, whenever the host shows it, so
// a refresh or rebuild has nothing left to do.
void HOST_CALL viewRefresh(host::PanelId) { toolkit("viewRefresh").record("viewRefresh"); }
void HOST_CALL viewRebuild(host::PanelId) { toolkit("viewRebuild").record("viewRebuild"); }
// The host shows a panel only where the interface activation hands one over.
int HOST_CALL post(host::PanelId) {
    toolkit("post").record("post");
    return PanelToolkitModel::kNotShown;
}
int HOST_CALL open(host::PanelId) {
    toolkit("open").record("open");
    return PanelToolkitModel::kNotShown;
}

// The host never calls a control draw function, so no drawing area exists for
// these to draw in; they draw nothing and measure text as empty. A call from a
// second thread is noted all the same.
const int kNoExtent = 0;
void noteDrawing(const char* function) { calledFromSecondThread(HOST_PANEL_TOOLKIT_SERVICE, function); }
void HOST_CALL drawPixel(host::PanelDrawAreaId, int, int, int) { noteDrawing("drawPixel"); }
void HOST_CALL drawRgbPixel(host::PanelDrawAreaId, int, int, int, int, int) { noteDrawing("drawRgbPixel"); }
void HOST_CALL drawLine(host::PanelDrawAreaId, int, int, int, int, int) { noteDrawing("drawLine"); }
void HOST_CALL drawBox(host::PanelDrawAreaId, int, int, int, int, int) { noteDrawing("drawBox"); }
void HOST_CALL drawRgbBox(host::PanelDrawAreaId, int, int, int, int, int, int, int) { noteDrawing("drawRgbBox"); }
void HOST_CALL drawBorder(host::PanelDrawAreaId, int, int, int, int, int) { noteDrawing("drawBorder"); }
int HOST_CALL textWidth(host::PanelDrawAreaId, const char*) {
    noteDrawing("textWidth");
    return kNoExtent;
}
int HOST_CALL textHeight(host::PanelDrawAreaId, const char*) {
    noteDrawing("textHeight");
    return kNoExtent;
}
void HOST_CALL drawText(host::PanelDrawAreaId, const char*, int, int, int) { noteDrawing("drawText"); }

const host::PanelDrawFunctions kDrawFunctions = {
    drawPixel, drawRgbPixel, drawLine, drawBox, drawRgbBox, drawBorder, textWidth, textHeight, drawText,
};

const int kToolkitVersion = 1;

const host::PanelToolkit kToolkit = {
    kToolkitVersion, &kDrawFunctions, create,       destroy,     describe, hint, getData,     setData,
    formGet,         formSet,         viewInstance, viewRefresh, post,     open, viewRebuild,
};

}  // namespace

const host::PanelToolkit& panelToolkitTable() { return kToolkit; }

}  // namespace sim
