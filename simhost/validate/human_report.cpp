// The human lines of a run (validate_report.h).
#include "simhost/text/printable_text.h"
#include "simhost/validate/check_line.h"
#include "simhost/validate/validate_report.h"

namespace sim {

namespace {

class HumanReport : public ValidateReport {
public:
    explicit HumanReport(std::ostream& out) : out_(out) {}

    void begin(const std::string& path, const ValidatedModifier& modifier, uint32_t seed) override {
        out_ << "Validating  " << printableText(path);
        if (&modifier != &kValidatedKelto) out_ << " as " << modifier.name;
        out_ << " with seed " << seed << " (replay with --seed " << seed << ")" << std::endl;
    }
    void check(const RegisteredCheck& check, const CheckOutcome& outcome, uint32_t) override {
        out_ << checkLine(check, outcome) << std::endl;
    }
    void end(const VerdictCounts& counts) override {
        out_ << counts[Verdict::Pass] << " passed, " << counts[Verdict::Fail] << " failed, " << counts[Verdict::Skip]
             << " skipped" << std::endl;
    }

private:
    std::ostream& out_;
};

}  // namespace

std::unique_ptr<ValidateReport> humanReport(std::ostream& out) { return std::make_unique<HumanReport>(out); }

}  // namespace sim
