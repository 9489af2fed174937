#include "simhost/run/run_files.h"

#include "simhost/platform/file_system.h"
#include "simhost/platform/windows_device_names.h"

namespace sim {

namespace {

// Why the output cannot be written where it lands, or "". A file is written
// beside its place first, so one is made there and removed: a folder may
// let every check pass and still take no file (/proc does so).
std::string outputProblem(const std::string& path) {
    // Refused everywhere: a scene moved to Windows would lose such a file.
    std::string device = windowsDeviceName(path);
    if (!device.empty()) return device + " is a device on Windows, not a file";
    std::string problem = writeProblem(path);
    if (!problem.empty()) return problem;
    std::string place = writtenPlace(path), aside;
    if (fileStatus(place).kind == FileKind::Other) return "";
    problem = writeAside(place, "", aside);
    if (!problem.empty()) return "no file can be made beside it (" + problem + ")";
    removeFile(aside);
    return "";
}

}  // namespace

std::string runFilesProblem(const std::vector<RunFile>& inputs, const std::vector<RunFile>& outputs) {
    for (size_t n = 0; n < outputs.size(); ++n) {
        const RunFile& output = outputs[n];
        std::string problem = outputProblem(output.path);
        if (!problem.empty()) return "cannot write " + output.path + " (" + output.role + "): " + problem;
        for (const RunFile& input : inputs)
            if (sameStoredFile(output.path, input.path))
                return output.role + " " + output.path + " would overwrite " + input.role + " " + input.path;
        for (size_t other = 0; other < n; ++other)
            if (sameStoredFile(output.path, outputs[other].path))
                return outputs[other].role + " and " + output.role + " would both write " + output.path;
    }
    return "";
}

std::string writeRunFiles(const std::vector<RunOutput>& outputs) {
    struct Pending {
        const RunOutput* output;
        std::string place;
        std::string aside;  // empty for a file written directly
    };
    std::vector<Pending> pending;
    std::string problem;
    for (const RunOutput& output : outputs) {
        Pending next{&output, writtenPlace(output.path), ""};
        if (fileStatus(next.place).kind != FileKind::Other) problem = writeAside(next.place, output.bytes, next.aside);
        if (!problem.empty()) {
            problem = "cannot write " + output.path + ": " + problem;
            break;
        }
        pending.push_back(next);
    }
    for (const Pending& file : pending) {
        if (problem.empty()) {
            std::string why = file.aside.empty() ? writeWholeFile(file.output->path, file.output->bytes)
                                                 : moveInPlace(file.aside, file.place);
            if (why.empty()) continue;
            problem = "cannot write " + file.output->path + ": " + why;
        }
        if (!file.aside.empty()) removeFile(file.aside);
    }
    return problem;
}

}  // namespace sim
