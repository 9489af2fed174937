#include "simhost/services/panel_hint_reader.h"

#include "simhost/text/text_format.h"

namespace sim {

namespace {

// The words after `tag` that it requires; false for a word that is no tag.
bool requiredWordsOf(host::PanelHintWord tag, size_t& words) {
    if (tag == host::kHintCall) {
        words = host::kHintCallWords;
    } else if (tag == host::kHintNest) {
        words = host::kHintNestWords;
    } else if (host::isEncodedHintTag(tag)) {
        words = host::hintRequiredWords(tag);
    } else {
        return false;
    }
    return true;
}

class Reader {
public:
    explicit Reader(HintReading& reading) : reading_(reading) {}

    // Reads one list to its zero word; false once a problem ends the reading.
    bool read(const host::PanelHintWord* hints, uint32_t target, size_t depth) {
        if (hints == nullptr) return true;
        for (size_t at = 0;;) {
            host::PanelHintWord tag;
            if (!take(hints, at, tag)) return false;
            if (tag == host::kHintEnd) return true;
            ReadHint hint;
            hint.tag = tag;
            hint.target = target;
            size_t required = 0;
            if (!requiredWordsOf(tag, required)) {
                reading_.problem = "the word " + hexText(tag) + " stands where a tag should, and is none";
                return false;
            }
            for (size_t n = 0; n < required; ++n) {
                hint.words.push_back(0);
                if (!take(hints, at, hint.words.back())) return false;
            }
            if (host::isEncodedHintTag(tag) && host::hintHasOptionalList(tag)) {
                for (host::PanelHintWord word = 1; word != host::kHintEnd;) {
                    if (!take(hints, at, word)) return false;
                    if (word != host::kHintEnd) hint.list.push_back(word);
                }
            }
            if (tag == host::kHintCall && !call(hint, depth)) return false;
            if (tag != host::kHintCall) reading_.hints.push_back(hint);
        }
    }

private:
    // The next word, unless the list has run past the most words read.
    bool take(const host::PanelHintWord* hints, size_t& at, host::PanelHintWord& word) {
        if (wordsRead_ == kMaxHintWords) {
            reading_.problem = "the list runs past " + std::to_string(kMaxHintWords) +
                               " words, the most the toolkit reads, without its end";
            return false;
        }
        ++wordsRead_;
        word = hints[at++];
        return true;
    }

    bool call(const ReadHint& hint, size_t depth) {
        if (depth + 1 == kMaxHintCallDepth) {
            reading_.problem = "lists called within lists go deeper than " + std::to_string(kMaxHintCallDepth);
            return false;
        }
        uint32_t target = hint.words[0] != 0 ? static_cast<uint32_t>(hint.words[0]) : hint.target;
        return read(reinterpret_cast<const host::PanelHintWord*>(hint.words[1]), target, depth + 1);
    }

    HintReading& reading_;
    size_t wordsRead_ = 0;
};

}  // namespace

HintReading readHints(const host::PanelHintWord* hints, uint32_t target) {
    HintReading reading;
    Reader(reading).read(hints, target, 0);
    return reading;
}

std::string hintTagName(host::PanelHintWord tag) {
    if (tag == host::kHintCall) return "XPTAG_CALL";
    if (tag == host::kHintNest) return "XPTAG_NEST";
    for (const host::PanelHintTagName& known : host::kHintTagNames)
        if (known.tag == tag) return known.name;
    size_t words = host::hintRequiredWords(tag);
    return "tag " + std::to_string(host::hintTagNumber(tag)) + " (" + std::to_string(words) +
           (words == 1 ? " word" : " words") + (host::hintHasOptionalList(tag) ? ", then a list)" : ")");
}

}  // namespace sim
