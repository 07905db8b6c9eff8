#pragma once
// What sort of Java VM a record describes; the values are those the launcher has always used.
#include <cstdint>

enum class VmKind : std::int32_t {
    JDK = 0,  // a development kit
    JRE = 1,  // a runtime
    MSJ = 2,  // the Microsoft VM
};

