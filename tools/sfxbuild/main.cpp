// sfxbuild: makes an installer from the stub program and a folder tree.
#include "SfxBuild.h"
#include "ALText.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

int Run(const std::vector<std::wstring>& args) {
    SfxBuildOptions options;
    std::wstring error;
    if (!ParseSfxBuildOptions(args, options, error)) {
        std::fprintf(stderr, "sfxbuild: %s\n\n%s", ALWideToUtf8(error).c_str(), kSfxBuildUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(kSfxBuildUsage, stdout);
        return 0;
    }
    return RunSfxBuild(options);
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    return Run(std::vector<std::wstring>(argv + 1, argv + argc));
}
#else
int main(int argc, char** argv) {
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) args.push_back(ALUtf8ToWide(argv[i]));
    return Run(args);
}
#endif
