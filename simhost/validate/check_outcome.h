// What became of one check, and the helper that checks collect it with: the
// first expectation that fails is the check's failure, with its reason.
#pragma once

#include <string>
#include <type_traits>
#include <utility>

namespace sim {

enum class Verdict { Pass, Fail, Skip };

struct CheckOutcome {
    Verdict verdict = Verdict::Pass;
    std::string reason;  // why it failed or did not apply; empty for a pass
};

// A check's expectations. Each is tested where it arises; the first that
// fails is kept with its reason and later ones are only answered, so a check
// runs on as far as it can without guarding each step. A reason may be
// given as text or as a function that makes it, called only on a failure.
class Expect {
public:
    // Whether `holds`; when it does not and nothing failed before, keeps the
    // reason.
    template <typename Reason>
    bool that(bool holds, Reason&& reason) {
        if (!holds && !failed()) {
            if constexpr (std::is_invocable_v<Reason>)
                keep(Verdict::Fail, std::forward<Reason>(reason)());
            else
                keep(Verdict::Fail, std::forward<Reason>(reason));
        }
        return holds;
    }
    // A failure, unless one came before; always false.
    bool fail(const std::string& reason) { return that(false, reason); }
    // Whether a part of the check, collected apart, passed; when it failed
    // its reason is kept after `where` and ": ".
    bool passes(const Expect& part, const std::string& where) {
        return that(!part.failed(), [&] { return where + ": " + part.outcome().reason; });
    }
    // The check does not apply, for this reason; a failure before stands.
    void skip(const std::string& reason) {
        if (!failed()) keep(Verdict::Skip, reason);
    }

    bool failed() const { return outcome_.verdict == Verdict::Fail; }
    // Whether the check may go on: nothing failed and nothing was skipped.
    bool ok() const { return outcome_.verdict == Verdict::Pass; }
    const CheckOutcome& outcome() const { return outcome_; }

private:
    void keep(Verdict verdict, std::string reason) {
        outcome_.verdict = verdict;
        outcome_.reason = std::move(reason);
    }

    CheckOutcome outcome_;
};

}  // namespace sim
