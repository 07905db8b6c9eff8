#include "JavaVm.h"

#include "ChildProcess.h"
#include "Exceptions.h"
#include "FilePath.h"
#include "FileVersion.h"
#include "JavaCommandLine.h"
#include "StringTable.h"
#include "Strings.h"
#include "VmExecutable.h"

HANDLE JavaVm::buildCommandLine(const JavaOptions& options, bool wait) {
    return createJavaProcess(options, commandLine(options), wait);
}

HANDLE JavaVm::launch(JavaOptions options) { return buildCommandLine(options, false); }

std::wstring ModernJavaVm::executablePath() const {
    const std::wstring direct = home + L"\\java.exe";
    const std::wstring chosen = IsSystemFolder(home) ? direct : home + L"\\bin\\java.exe";
    return FilePath(chosen).exists() ? chosen : direct;
}

std::wstring ModernJavaVm::commandLine(const JavaOptions& options) const {
    return ModernCommandLine(executablePath(), version.major(), options);
}

std::wstring OldJavaVm::executablePath() const {
    const std::wstring jre = home + L"\\bin\\jre.exe";
    return FilePath(jre).exists() ? jre : home + L"\\bin\\java.exe";
}

std::wstring OldJavaVm::commandLine(const JavaOptions& options) const {
    return OldCommandLine(executablePath(), home, options);
}

MicrosoftJavaVm::MicrosoftJavaVm() {
    vendor = L"Microsoft";
    version = JavaVersion(1, 4, 0);
}

HANDLE MicrosoftJavaVm::buildCommandLine(const JavaOptions& options, bool wait) {
    if (build() < options.microsoftVmMinBuild) throw terminalErrorFor(strings::NoJavaVm);
    ::SetEnvironmentVariableW(L"CLASSPATH", ClassPathText(options.ClassPath).c_str());
    return JavaVm::buildCommandLine(options, wait);
}

std::wstring MicrosoftJavaVm::executablePath() const { return home + L"\\jview.exe"; }

std::wstring MicrosoftJavaVm::commandLine(const JavaOptions& options) const {
    return MicrosoftCommandLine(executablePath(), options);
}

std::int32_t MicrosoftJavaVm::build() const {
    const auto numbers = FileVersionOf(home + L"\\jview.exe");
    return numbers ? (*numbers)[2] : 0;
}

bool SameInstallation(const JavaVm& a, const JavaVm& b) {
    return a.home == b.home && a.version == b.version;
}

std::unique_ptr<JavaVm> RecordFromExplicitPath(const std::wstring& executable,
                                               const JavaOptions& options) {
    VmExecutable identified{FilePath(executable)};
    auto vm = std::make_unique<ModernJavaVm>();
    vm->version = identified.version();
    vm->home = identified.home();
    vm->kind = identified.kind();
    vm->vendor = identified.vendor();
    vm->options = options;
    return vm;
}

