// What `kelto-host validate` writes of a run as its checks end: the human
// lines (check_line.h), or with --json one JSON document for CI systems.
// Either is written as each check ends, so that a run cut short still shows
// the checks before.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

#include "simhost/validate/check_outcome.h"
#include "simhost/validate/check_registry.h"

namespace sim {

// How many checks ended with each verdict, by Verdict.
struct VerdictCounts {
    int of[3] = {0, 0, 0};

    int operator[](Verdict verdict) const { return of[int(verdict)]; }
    void count(Verdict verdict) { ++of[int(verdict)]; }
};

class ValidateReport {
public:
    virtual ~ValidateReport() = default;
    // Before the first check: the module's path, the modifier it is held
    // to, and the seed of the run.
    virtual void begin(const std::string& path, const ValidatedModifier& modifier, uint32_t seed) = 0;
    virtual void check(const RegisteredCheck& check, const CheckOutcome& outcome, uint32_t seed) = 0;
    virtual void end(const VerdictCounts& counts) = 0;
};

// "Validating  PATH with seed N (replay with --seed N)", a line per check,
// then "N passed, N failed, N skipped".
std::unique_ptr<ValidateReport> humanReport(std::ostream& out);

// One JSON document (json_report.cpp):
//
//     {"module": PATH, "modifier": "Kelto", "seed": N,
//      "checks": [
//       {"id": ID, "title": TITLE, "verdict": "pass", "reason": "", "seed": N},
//       ...],
//      "summary": {"passed": N, "failed": N, "skipped": N}}
//
// Every text in it is made printable as the human lines make it (printable
// UTF-8, any other byte written "\xNN"), then written as a JSON string.
std::unique_ptr<ValidateReport> jsonReport(std::ostream& out);

}  // namespace sim
