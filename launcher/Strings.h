#pragma once
// Ids of the launcher's string table (launcher/strings/*.rc) and the exit codes of its reports.

namespace strings {
inline constexpr int NoJavaVm = 101;
inline constexpr int PropertiesMissing = 102;
inline constexpr int ProcessCreationFailed = 103;
inline constexpr int PropertiesInvalid = 104;
inline constexpr int UrlConnectFailed = 105;
inline constexpr int JvmDownloadError = 106;
inline constexpr int VmPackDownloadFailed = 109;
inline constexpr int ErrorTitle = 110;
inline constexpr int NetworkConnectionError = 111;
inline constexpr int JvmExtractionError = 112;
inline constexpr int VmPackExtractionFailed = 113;
inline constexpr int Downloading = 114;
inline constexpr int DownloadingVmPack = 115;
inline constexpr int Extracting = 116;
inline constexpr int ExtractingVmPack = 117;

// Every id the table holds, in order.
inline constexpr int All[] = {101, 102, 103, 104, 105, 106, 109, 110, 111, 112, 113, 114, 115, 116, 117};
}  // namespace strings

// The process exit code after a reported error (launcher/EXIT_CODES.md). A launch that reaches
// the Java program exits with the program's own code instead.
namespace exit_codes {
inline constexpr int LauncherError = 1;       // any other reported error
inline constexpr int PropertiesProblem = 2;   // property file missing (102) or invalid (104)
inline constexpr int NoJavaVm = 3;            // no usable Java VM (101)
inline constexpr int JavaNotStarted = 4;      // the Java process could not be created (103)

// The code that belongs to a report made with string `id`.
constexpr int forString(int id) {
    switch (id) {
        case strings::NoJavaVm: return NoJavaVm;
        case strings::PropertiesMissing:
        case strings::PropertiesInvalid: return PropertiesProblem;
        case strings::ProcessCreationFailed: return JavaNotStarted;
        default: return LauncherError;
    }
}
}  // namespace exit_codes
