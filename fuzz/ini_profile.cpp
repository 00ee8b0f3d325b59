// The profile reader on any bytes: it must not fail, and what it writes back must read back
// as the same profile.
#include "platform/profile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CIniProfile profile;
    profile.Parse(reinterpret_cast<const char*>(data), size);
    std::string text = profile.Serialize();
    CIniProfile again;
    again.Parse(text.data(), text.size());
    if (again.Serialize() != text) std::abort();

    for (const auto& s : profile.Sections())
        for (const auto& e : s.entries) {
            const std::string* a = profile.Find(s.name.c_str(), e.key.c_str());
            const std::string* b = again.Find(s.name.c_str(), e.key.c_str());
            if ((a == nullptr) != (b == nullptr) || (a && *a != *b)) std::abort();
        }
    if (!again.Set("Options", "Threshold", "1.25")) std::abort();
    const std::string* v = again.Find("Options", "Threshold");
    if (!v || *v != "1.25") std::abort();
    return 0;
}
