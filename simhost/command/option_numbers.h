// The numbers kelto-host's options take, read alike for both commands: ""
// or one line saying what is wrong, the option named.
#pragma once

#include <cstdint>
#include <string>

namespace sim {

std::string readTimeLimit(const std::string& option, const std::string& value, unsigned& seconds);
std::string readSeed(const std::string& option, const std::string& value, uint32_t& seed);
std::string readClassVersion(const std::string& option, const std::string& value, int& version);

}  // namespace sim
