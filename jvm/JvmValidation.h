#pragma once
// The two tests that decide whether a VM that was found is acceptable: the valid-VM-list token
// match (which may run the validator class on the VM) and the Java property check (which runs
// the Verify class and compares the system properties it prints).
#include "JavaOptions.h"
#include "JavaVm.h"
#include "VmInventory.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Runs "com.orvex.util.jvm.Validator" with "1" and the argument on the VM, with the class path
// of the VM's options, and waits for its end. Returns its exit code; -1 when it cannot be run.
int RunValidator(JavaVm& vm, const std::wstring& argument);

// The token match of the valid VM list for one VM (the validator runs on this VM).
bool MatchesToken(JavaVm& vm, const std::wstring& token);

// The candidates of the list search: for each token in order, each inventory entry in order
// that matches it, is not a candidate yet and has an allowed bitness (platform 3 refuses
// 64-bit VMs, platform 1 refuses 32-bit ones). Each entry examined gets a copy of the options
// first. The pointers stay owned by the inventory.
std::vector<JavaVm*> CandidateSearch(const std::vector<std::wstring>& tokens,
                                     std::int32_t platform, const JavaOptions& options,
                                     const VmInventory& inventory);

// The limit on how long the Verify process may run.
constexpr unsigned long kPropertyCheckTimeoutMs = 5000;

// Runs the Verify class from the specification folder's Verify.jar (or its jvmspecs\Verify.jar)
// on the executable and compares the properties it prints with the expected ones. Never
// raises: a missing archive, a process that cannot start or runs past the time limit, and
// output that does not match all reject the candidate. A process still running at the limit
// is left running. Output of any length is read whole.
bool JavaPropertiesAccepted(const std::wstring& specificationFolder,
                            const std::wstring& executable,
                            const std::map<std::wstring, std::wstring>& expected);

