#include "simhost/platform/windows_device_names.h"

#include <cctype>

namespace sim {

namespace {

const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL"};
const char* const kNumberedDevices[] = {"COM", "LPT"};
// The ports' numbers, the superscripts ¹ ² ³ in UTF-8 among them, which
// Windows takes as 1 to 3.
const char* const kPortNumbers[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "\xC2\xB9", "\xC2\xB2", "\xC2\xB3"};

std::string upperCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::string windowsDeviceName(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    // The extension, and spaces before it, are no part of the device's name.
    name = name.substr(0, name.find('.'));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    name = upperCase(name);
    for (const char* device : kDevices)
        if (name == device) return name;
    for (const char* device : kNumberedDevices)
        for (const char* number : kPortNumbers)
            if (name == std::string(device) + number) return name;
    return "";
}

}  // namespace sim
