// The records' functions: each enters its reader or writer under a mark that makes a crash in it the
// host's, not the module's. A call from a second thread is answered as a read past the end, or a write
// of nothing, before the state or the marks are touched.
#include "simhost/services/block_states.h"

#include "simhost/platform/crash_report.h"
#include "simhost/services/serving_thread.h"

namespace sim {

namespace {

const char kRead[] = "read", kReadI1[] = "readI1", kReadI2[] = "readI2", kReadI4[] = "readI4", kReadU1[] = "readU1",
           kReadU2[] = "readU2", kReadU4[] = "readU4", kReadFP[] = "readFP", kReadDP[] = "readDP",
           kReadStr[] = "readStr", kReadID[] = "readID", kFindBlk[] = "findBlk", kLoadEndBlk[] = "endBlk (load)",
           kLoadDepth[] = "depth (load)";
const char kWrite[] = "write", kWriteI1[] = "writeI1", kWriteI2[] = "writeI2", kWriteI4[] = "writeI4",
           kWriteU1[] = "writeU1", kWriteU2[] = "writeU2", kWriteU4[] = "writeU4", kWriteFP[] = "writeFP",
           kWriteDP[] = "writeDP", kWriteStr[] = "writeStr", kWriteID[] = "writeID", kBeginBlk[] = "beginBlk",
           kSaveEndBlk[] = "endBlk (save)", kSaveDepth[] = "depth (save)";

}  // namespace

// The functions of the records, apart from the members they call.
namespace served {

namespace {

BlockReader& reader(void* data) { return *static_cast<BlockReader*>(data); }
BlockWriter& writer(void* data) { return *static_cast<BlockWriter*>(data); }

const char kLoadState[] = "the load state", kSaveState[] = "the save state";
// What a read past the end gives.
const int kNoValues = 0, kNoDepth = 0;
const host::IdCode kNoId = 0;

bool loadFromSecondThread(const char* function) { return calledFromSecondThread(kLoadState, function); }
bool saveFromSecondThread(const char* function) { return calledFromSecondThread(kSaveState, function); }

int HOST_CALL readUnit(void* data, char* buffer, int maxLength) {
    if (loadFromSecondThread(kRead)) return host::kReadEndOfData;
    HostServiceMark mark(kRead);
    return reader(data).read(buffer, maxLength);
}

// `Stored` is the value as the file holds it; `Given` the SDK's type for it (char for a signed byte).
template <typename Stored, typename Given, const char* kName>
int HOST_CALL readValues(void* data, Given* values, int count) {
    if (loadFromSecondThread(kName)) return kNoValues;
    HostServiceMark mark(kName);
    return reader(data).readValues(reinterpret_cast<Stored*>(values), count);
}

int HOST_CALL readString(void* data, char* buffer, int maxLength) {
    if (loadFromSecondThread(kReadStr)) return kNoValues;
    HostServiceMark mark(kReadStr);
    return reader(data).readString(buffer, maxLength);
}

host::IdCode HOST_CALL readId(void* data, const host::BlockIdent* idents) {
    if (loadFromSecondThread(kReadID)) return kNoId;
    HostServiceMark mark(kReadID);
    return reader(data).readId(idents);
}

host::IdCode HOST_CALL findBlock(void* data, const host::BlockIdent* idents) {
    if (loadFromSecondThread(kFindBlk)) return kNoId;
    HostServiceMark mark(kFindBlk);
    return reader(data).findBlock(idents);
}

void HOST_CALL endLoadBlock(void* data) {
    if (loadFromSecondThread(kLoadEndBlk)) return;
    HostServiceMark mark(kLoadEndBlk);
    reader(data).endBlock();
}

int HOST_CALL loadDepth(void* data) {
    if (loadFromSecondThread(kLoadDepth)) return kNoDepth;
    HostServiceMark mark(kLoadDepth);
    return reader(data).depth();
}

void HOST_CALL writeUnit(void* data, const char* bytes, int length) {
    if (saveFromSecondThread(kWrite)) return;
    HostServiceMark mark(kWrite);
    writer(data).write(bytes, length);
}

template <typename Stored, typename Given, const char* kName>
void HOST_CALL writeValues(void* data, const Given* values, int count) {
    if (saveFromSecondThread(kName)) return;
    HostServiceMark mark(kName);
    writer(data).writeValues(reinterpret_cast<const Stored*>(values), count);
}

void HOST_CALL writeString(void* data, const char* text) {
    if (saveFromSecondThread(kWriteStr)) return;
    HostServiceMark mark(kWriteStr);
    writer(data).writeString(text);
}

void HOST_CALL writeId(void* data, const host::BlockIdent* ident) {
    if (saveFromSecondThread(kWriteID)) return;
    HostServiceMark mark(kWriteID);
    writer(data).writeId(ident);
}

void HOST_CALL beginBlock(void* data, const host::BlockIdent* ident, int leaf) {
    if (saveFromSecondThread(kBeginBlk)) return;
    HostServiceMark mark(kBeginBlk);
    writer(data).beginBlock(ident, leaf);
}

void HOST_CALL endSaveBlock(void* data) {
    if (saveFromSecondThread(kSaveEndBlk)) return;
    HostServiceMark mark(kSaveEndBlk);
    writer(data).endBlock();
}

int HOST_CALL saveDepth(void* data) {
    if (saveFromSecondThread(kSaveDepth)) return kNoDepth;
    HostServiceMark mark(kSaveDepth);
    return writer(data).depth();
}

}  // namespace

}  // namespace served

BlockReader::BlockReader(std::vector<std::string> lines)
    : BlockReader(host::kIoModeAscii, std::move(lines), std::string()) {}

BlockReader BlockReader::binary(std::string bytes) {
    return BlockReader(host::kIoModeBinary, std::vector<std::string>(), std::move(bytes));
}

BlockReader::BlockReader(host::IoMode mode, std::vector<std::string> lines, std::string bytes)
    : lines_(std::move(lines)),
      bytes_(std::move(bytes)),
      state_{mode,
             this,
             served::readUnit,
             served::readValues<signed char, char, kReadI1>,
             served::readValues<short, short, kReadI2>,
             served::readValues<int, int, kReadI4>,
             served::readValues<unsigned char, unsigned char, kReadU1>,
             served::readValues<unsigned short, unsigned short, kReadU2>,
             served::readValues<unsigned int, unsigned int, kReadU4>,
             served::readValues<float, float, kReadFP>,
             served::readString,
             served::readId,
             served::findBlock,
             served::endLoadBlock,
             served::loadDepth,
             served::readValues<double, double, kReadDP>} {}

BlockWriter::BlockWriter(host::IoMode mode)
    : state_{mode,
             this,
             served::writeUnit,
             served::writeValues<signed char, char, kWriteI1>,
             served::writeValues<short, short, kWriteI2>,
             served::writeValues<int, int, kWriteI4>,
             served::writeValues<unsigned char, unsigned char, kWriteU1>,
             served::writeValues<unsigned short, unsigned short, kWriteU2>,
             served::writeValues<unsigned int, unsigned int, kWriteU4>,
             served::writeValues<float, float, kWriteFP>,
             served::writeString,
             served::writeId,
             served::beginBlock,
             served::endSaveBlock,
             served::saveDepth,
             served::writeValues<double, double, kWriteDP>} {}

std::vector<std::string> BlockWriter::lines() const { return linesOf(units_); }

std::vector<std::string> linesOf(const std::vector<BlockWriter::Unit>& units) {
    std::vector<std::string> lines;
    for (const BlockWriter::Unit& unit : units) lines.push_back(unit.line());
    return lines;
}

}  // namespace sim
