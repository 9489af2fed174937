#include "simhost/services/serving_thread.h"

#include <atomic>

#include "simhost/platform/crash_report.h"

namespace sim {

namespace {

std::atomic<std::thread::id> g_served{std::thread::id()};

// The first call's note. A second thread fills it once it has claimed it
// (kWriting) and then publishes it (kWritten); the served thread reads it
// only once published, and frees it for the next.
enum NoteState { kEmpty, kWriting, kWritten };
std::atomic<int> g_noteState{kEmpty};
std::atomic<unsigned long> g_noteCalls{0};
const char* g_noteService = nullptr;
const char* g_noteFunction = nullptr;
std::string g_noteWhere;

}  // namespace

ServedThreadClaim::ServedThreadClaim(bool claiming) : claiming_(claiming), previous_(g_served.load()) {
    if (claiming_) g_served.store(std::this_thread::get_id());
}

ServedThreadClaim::~ServedThreadClaim() {
    if (claiming_) g_served.store(previous_);
}

bool calledFromSecondThread(const char* service, const char* function) {
    std::thread::id served = g_served.load();
    if (served == std::thread::id() || served == std::this_thread::get_id()) return false;
    g_noteCalls.fetch_add(1);
    int empty = kEmpty;
    if (g_noteState.compare_exchange_strong(empty, kWriting)) {
        g_noteService = service;
        g_noteFunction = function;
        g_noteWhere = whereNow();
        g_noteState.store(kWritten);
    }
    return true;
}

std::string takeSecondThreadNote() {
    if (g_noteState.load() != kWritten) return "";
    unsigned long calls = g_noteCalls.exchange(0);
    std::string note = std::string(g_noteFunction) + " (" + g_noteService + ") called from a second thread" +
                       g_noteWhere +
                       "; a host serves only the thread that calls into the module (answered neutrally, " +
                       std::to_string(calls) + (calls == 1 ? " call)" : " calls)");
    g_noteState.store(kEmpty);
    return note;
}

}  // namespace sim
