// The documentation holds together: every relative link in the README and
// the pages beside it reaches a file and, where it names one, a heading; and
// the table of checks in docs/validate.md is the one `validate --list` prints,
// and its table of promises names checks that are listed and faults that are
// built.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "simhost/command/command_line.h"
#include "simhost/validate/check_registry.h"

namespace {

namespace fs = std::filesystem;

const fs::path kDocs = KELTO_DOCS_DIR;
const fs::path kRoot = kDocs.parent_path();

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The text with its fenced code blocks left out: what they hold is not read
// as links or headings.
std::string withoutCode(const std::string& text) {
    std::istringstream in(text);
    std::string line, out;
    bool fenced = false;
    while (std::getline(in, line)) {
        if (line.rfind("```", 0) == 0) {
            fenced = !fenced;
            continue;
        }
        if (!fenced) out += line + "\n";
    }
    return out;
}

// A heading's anchor as the hosting site makes it: lower case, spaces as
// hyphens, every other character but letters, digits, '-' and '_' dropped;
// a repeated heading's anchor followed by -1, -2 and so on.
std::string anchorOf(const std::string& heading) {
    std::string anchor;
    for (unsigned char c : heading) {
        if (std::isalnum(c) || c == '-' || c == '_' || c >= 0x80)
            anchor += char(std::tolower(c));
        else if (c == ' ')
            anchor += '-';
    }
    return anchor;
}

std::set<std::string> anchorsOf(const std::string& markdown) {
    std::set<std::string> anchors;
    std::map<std::string, int> seen;
    std::istringstream in(withoutCode(markdown));
    std::string line;
    while (std::getline(in, line)) {
        size_t level = line.find_first_not_of('#');
        if (level == 0 || level == std::string::npos || line[level] != ' ') continue;
        std::string anchor = anchorOf(line.substr(level + 1));
        int times = seen[anchor]++;
        anchors.insert(times == 0 ? anchor : anchor + "-" + std::to_string(times));
    }
    return anchors;
}

// Each relative link of a page that reaches no file, or no heading of the
// file it names, as "page: target".
std::vector<std::string> brokenLinks(const fs::path& page, const std::string& markdown) {
    std::vector<std::string> broken;
    static const std::regex link(R"(\]\(([^()\s]+)\))");
    const std::string text = withoutCode(markdown);
    for (std::sregex_iterator it(text.begin(), text.end(), link), end; it != end; ++it) {
        const std::string target = (*it)[1];
        if (target.find("://") != std::string::npos || target.rfind("mailto:", 0) == 0) continue;
        const size_t hash = target.find('#');
        const std::string file = target.substr(0, hash);
        const fs::path reached = file.empty() ? page : page.parent_path() / file;
        bool ok = fs::exists(reached);
        if (ok && hash != std::string::npos) {
            const std::string anchor = target.substr(hash + 1);
            ok = reached.extension() == ".md" && anchorsOf(readText(reached)).count(anchor) == 1;
        }
        if (!ok) broken.push_back(page.filename().string() + ": " + target);
    }
    return broken;
}

std::vector<fs::path> documentationPages() {
    std::vector<fs::path> pages{kRoot / "README.md", kRoot / "TESTING.md", kRoot / "BENCHMARKS.md"};
    for (const auto& entry : fs::directory_iterator(kDocs))
        if (entry.path().extension() == ".md") pages.push_back(entry.path());
    return pages;
}

TEST(Documentation, AnchorsAreMadeAsTheHostingSiteMakesThem) {
    EXPECT_EQ(anchorOf("The scripts in `tools/`"), "the-scripts-in-tools");
    EXPECT_EQ(anchorOf("Kelto Focus's checks"), "kelto-focuss-checks");
    EXPECT_EQ(anchorOf("Files, options and what is shown"), "files-options-and-what-is-shown");
    std::set<std::string> twice = anchorsOf("# Edits\n```\n# not a heading\n```\n## Edits\n#nor this\n");
    EXPECT_EQ(twice, (std::set<std::string>{"edits", "edits-1"}));
}

TEST(Documentation, TheLinkCheckFindsAMissingFileAndAMissingHeading) {
    const fs::path page = kDocs / "validate.md";
    std::vector<std::string> broken =
        brokenLinks(page,
                    "[a](kelto-host.md) [b](kelto-host.md#edits) [c](missing.md) [d](kelto-host.md#no-such-heading) "
                    "[e](#running-it) [f](#nowhere) [g](https://example.com/x.md)\n```\n[h](in-code.md)\n```\n");
    EXPECT_EQ(broken, (std::vector<std::string>{"validate.md: missing.md", "validate.md: kelto-host.md#no-such-heading",
                                                "validate.md: #nowhere"}));
}

TEST(Documentation, EveryRelativeLinkReachesAFileAndEveryAnchorAHeading) {
    std::vector<fs::path> pages = documentationPages();
    std::set<std::string> names;
    for (const fs::path& page : pages) names.insert(page.filename().string());
    for (const char* manual : {"kelto-host.md", "validate.md", "developing.md"}) EXPECT_EQ(names.count(manual), 1u);
    size_t links = 0;
    for (const fs::path& page : pages) {
        ASSERT_TRUE(fs::is_regular_file(page)) << page;
        const std::string text = readText(page);
        for (const std::string& broken : brokenLinks(page, text)) ADD_FAILURE() << "broken link: " << broken;
        for (size_t at = text.find("]("); at != std::string::npos; at = text.find("](", at + 2)) ++links;
    }
    EXPECT_GT(links, 20u);
}

// The IDs the table of docs/validate.md documents. In "Kelto's checks" a row
// named by a bare word is that check under each protocol, a row named whole
// is that one check; Kelto Focus is held to each of Kelto's, with "focus/"
// before it, and to the rows of "Kelto Focus's checks" under each protocol.
std::set<std::string> documentedChecks() {
    std::istringstream in(readText(kDocs / "validate.md"));
    std::string line, section;
    std::set<std::string> kelto, focus;
    static const std::regex row(R"(^\| `([a-z/-]+)` \|)");
    while (std::getline(in, line)) {
        if (line.rfind("## ", 0) == 0) section = line.substr(3);
        std::smatch match;
        if (!std::regex_search(line, match, row)) continue;
        const std::string id = match[1];
        if (section == "Kelto's checks") {
            if (id.find('/') != std::string::npos)
                kelto.insert(id);
            else
                for (const char* protocol : {"classic/", "current/"}) kelto.insert(protocol + id);
        } else if (section == "Kelto Focus's checks") {
            for (const char* protocol : {"focus/classic/", "focus/current/"}) focus.insert(protocol + id);
        } else {
            ADD_FAILURE() << "a check's row outside the tables of checks: " << line;
        }
    }
    EXPECT_GT(kelto.size(), 30u);
    EXPECT_GT(focus.size(), 10u);
    for (const std::string& id : kelto) focus.insert("focus/" + id);
    focus.insert(kelto.begin(), kelto.end());
    return focus;
}

TEST(Documentation, TheTableOfChecksIsTheOneValidateLists) {
    std::ostringstream out, err;
    ASSERT_EQ(sim::runValidateCommand({"--list"}, out, err), 0) << err.str();
    std::set<std::string> listed;
    std::istringstream lines(out.str());
    std::string line;
    while (std::getline(lines, line))
        if (!line.empty()) listed.insert(line.substr(0, line.find("  ")));
    ASSERT_GT(listed.size(), 40u) << out.str();

    const std::set<std::string> documented = documentedChecks();
    for (const std::string& id : listed)
        EXPECT_EQ(documented.count(id), 1u) << "listed by validate --list, not in docs/validate.md: " << id;
    for (const std::string& id : documented)
        EXPECT_EQ(listed.count(id), 1u) << "in docs/validate.md, not listed by validate --list: " << id;
}

// The ID a word of the table of promises names: a bare word is Kelto's check
// under the classic protocol, "focus/WORD" Kelto Focus's, and one that says
// "module/" is named whole.
std::string promiseCheckId(const std::string& word) {
    const std::string focus = "focus/";
    if (word.find("module/") != std::string::npos) return word;
    if (word.rfind(focus, 0) == 0) return focus + "classic/" + word.substr(focus.size());
    return "classic/" + word;
}

TEST(Documentation, EachPromiseNamesAListedCheckAndABuiltFault) {
    std::istringstream in(readText(kDocs / "validate.md"));
    std::string line, section;
    size_t rows = 0;
    static const std::regex row(R"(^\| [^`|][^|]* \| [^|]+ \| ([^|]+) \| `([a-z_]+)` \|$)");
    static const std::regex word("`([a-z/-]+)`");
    while (std::getline(in, line)) {
        if (line.rfind("## ", 0) == 0) section = line.substr(3);
        std::smatch match;
        if (section != "Every promise and its check" || !std::regex_match(line, match, row)) continue;
        ++rows;
        const std::string checks = match[1];
        size_t named = 0;
        for (std::sregex_iterator at(checks.begin(), checks.end(), word), end; at != end; ++at, ++named)
            EXPECT_NE(sim::findCheck(promiseCheckId((*at)[1])), nullptr) << (*at)[1] << " in: " << line;
        EXPECT_GT(named, 0u) << line;
        const fs::path fault = fs::path(KELTO_FAULT_MODULES_DIR) / ("fault_" + std::string(match[2]) + ".p");
        EXPECT_TRUE(fs::exists(fault)) << fault << " in: " << line;
    }
    EXPECT_GT(rows, 30u);
}

}  // namespace
