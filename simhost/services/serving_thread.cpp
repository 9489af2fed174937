#include "simhost/services/serving_thread.h"

#include <atomic>

#include "simhost/platform/crash_report.h"

namespace sim {

namespace {

// A thread is told by the address of a thread-local of its own, which every
// toolchain here has (a Windows build's threads model may lack std::thread).
const void* thisThread() {
    static thread_local char mark;
    return &mark;
}

// The thread served; null while none is claimed.
std::atomic<const void*> g_served{nullptr};

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
    if (claiming_) g_served.store(thisThread());
}

ServedThreadClaim::~ServedThreadClaim() {
    if (claiming_) g_served.store(previous_);
}

bool calledFromSecondThread(const char* service, const char* function) {
    const void* served = g_served.load();
    if (served == nullptr || served == thisThread()) return false;
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
