// The JSON document of a run (validate_report.h).
#include <cstdio>

#include "simhost/text/printable_text.h"
#include "simhost/validate/validate_report.h"

namespace sim {

namespace {

const unsigned char kFirstPrintable = 0x20;

// A text as a JSON string. Made printable first, it holds no control byte
// and is valid UTF-8; any control byte is written as \u00XX all the same,
// so that the string is sound whatever it is given.
std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (char c : printableText(text)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < kFirstPrintable) {
            char escape[7];
            std::snprintf(escape, sizeof escape, "\\u%04X", unsigned(c));
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

const char* verdictName(Verdict verdict) {
    switch (verdict) {
        case Verdict::Pass: return "pass";
        case Verdict::Fail: return "fail";
        case Verdict::Skip: return "skip";
    }
    return "";
}

class JsonReport : public ValidateReport {
public:
    explicit JsonReport(std::ostream& out) : out_(out) {}

    void begin(const std::string& path, const ValidatedModifier& modifier, uint32_t seed) override {
        out_ << "{\"module\": " << jsonString(path) << ", \"modifier\": " << jsonString(modifier.name)
             << ", \"seed\": " << seed << ",\n \"checks\": [";
        out_.flush();
    }
    void check(const RegisteredCheck& check, const CheckOutcome& outcome, uint32_t seed) override {
        out_ << (first_ ? "\n  " : ",\n  ") << "{\"id\": " << jsonString(check.id)
             << ", \"title\": " << jsonString(check.title) << ", \"verdict\": \"" << verdictName(outcome.verdict)
             << "\", \"reason\": " << jsonString(outcome.reason) << ", \"seed\": " << seed << "}";
        out_.flush();
        first_ = false;
    }
    void end(const VerdictCounts& counts) override {
        out_ << "],\n \"summary\": {\"passed\": " << counts[Verdict::Pass] << ", \"failed\": " << counts[Verdict::Fail]
             << ", \"skipped\": " << counts[Verdict::Skip] << "}}" << std::endl;
    }

private:
    std::ostream& out_;
    bool first_ = true;
};

}  // namespace

std::unique_ptr<ValidateReport> jsonReport(std::ostream& out) { return std::make_unique<JsonReport>(out); }

}  // namespace sim
