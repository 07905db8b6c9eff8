#pragma once
// Reading what the Verify class prints: a first line, then one line per requested Java system
// property with its value, in the order the properties were named. Text only; starting the
// process is the property check's (JvmValidation.h).
#include <map>
#include <string>
#include <string_view>

// "*" accepts anything; a value ending in "*" accepts what begins with the text before its
// first "*"; a value ending in "..." accepts what begins with the value without its final
// dots; any other value must be equal, letter case included.
bool MatchesExpectedValue(std::wstring_view actual, std::wstring_view expected);

// True when the output holds a first line and then, for each expected property in map order,
// a line whose value matches. Output without a line feed fails, even when nothing is expected.
bool ReportedPropertiesMatch(std::wstring_view output,
                             const std::map<std::wstring, std::wstring>& expected);

