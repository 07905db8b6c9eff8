#pragma once
// The tokens of the valid VM list ("vrx.nl.valid.vm.list") and how a VM is judged against one.
// A token is a keyword ("JRE_J2", "ALL", ...), a version pattern ("1.6+", "1.6*", "1.6.0_20"),
// or a composite of a category, a version pattern and a validator argument joined by "_".
// Everything here works on text and numbers only; running the validator is the caller's.
#include "JavaVersion.h"
#include "VmKind.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

struct VmToken {
    std::wstring validatorArgument;  // empty: no validator run
    std::wstring category;           // "JRE", "JDK", "ALL" or empty
    std::wstring versionPattern;     // empty: any version
};

// Upper-cases the letters a to z only; the list is written in ASCII, and a validator argument
// keeps any other character as it was.
std::wstring UpperCaseToken(std::wstring_view token);

// True for a text of digits, "." (not first, not last, not doubled), "*", and "+" as the last
// character only.
bool IsVersionPattern(std::wstring_view text);

// Cuts an upper-case token at every run of "_" and sorts the pieces into the three fields: a
// category word replaces the category, a version pattern is appended to the pattern (joined by
// "_", so that 1.6.0_20 survives), anything else replaces the validator argument.
VmToken SplitToken(std::wstring_view upperToken);

// The keyword table: the verdict for an upper-case keyword, or nothing when the token is not one.
std::optional<bool> MatchKeyword(std::wstring_view upperToken, VmKind kind, JavaVersion version);

// "1.6+": this version or higher; "1.6*" or "1.4.2*": this family; otherwise exactly this
// version, the update ignored when the pattern gives none.
bool MatchesVersionPattern(JavaVersion version, std::wstring_view pattern);

// Runs the validator class on the VM with the argument and returns its exit code; -1 when it
// could not be run.
using ValidatorRun = std::function<int(const std::wstring& argument)>;

// The whole token match: upper-cases the token, asks the keyword table, and otherwise tests the
// composite token's validator argument (a non-zero exit code rejects), category and pattern in
// that order. The validator runs only when the token names an argument.
bool MatchesToken(std::wstring_view token, VmKind kind, JavaVersion version,
                  const ValidatorRun& runValidator);

