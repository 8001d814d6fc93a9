#pragma once

#include <array>

namespace cubwave {

// The privileges window's class buttons, in their order: caption, title and class letter.
struct LicenceClassChoice {
    const char* caption;
    const char* title;
    const char* licenceClass;
};

inline constexpr std::array<LicenceClassChoice, 6> kLicenceClasses{{
    {"Novice", "Novice Frequency Privileges", "N"},
    {"Technician", "Technician Frequency Privileges", "T"},
    {"Tech +", "Technician Plus Frequency Privileges", "P"},
    {"General", "General Frequency Privileges", "G"},
    {"Advanced", "Advanced Frequency Privileges", "A"},
    {"Extra", "Extra Frequency Privileges", "E"},
}};

// The class the window shows when it opens.
inline constexpr int kExtraClassIndex = 5;

}  // namespace cubwave
