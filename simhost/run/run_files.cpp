#include "simhost/run/run_files.h"

#include "simhost/platform/file_system.h"

namespace sim {

std::string runFilesProblem(const std::vector<RunFile>& inputs, const std::vector<RunFile>& outputs) {
    for (size_t n = 0; n < outputs.size(); ++n) {
        const RunFile& output = outputs[n];
        std::string problem = writeProblem(output.path);
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

}  // namespace sim
