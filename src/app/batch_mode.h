#ifndef ZENTROVA_APP_BATCH_MODE_H_
#define ZENTROVA_APP_BATCH_MODE_H_

// The command line of the window and the result code a calling program reads afterwards.
// Parameters are UTF-8, the program's own path not counted.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace zentrova::app {

// The direction the window runs as soon as it is shown.
enum class BatchDirection { kNone, kImportar, kExportar };

// runMode in batch mode; 0 otherwise.
inline constexpr int kBatchRunMode = 2;

// kBatchRunMode with exactly two parameters, whatever they are; else 0.
int RunModeFor(const std::vector<std::string>& parameters);

// With exactly two parameters, the first lower-cased A to Z only and compared with
// "importar" and "exportar"; the second is never read. Anything else runs nothing.
BatchDirection BatchDirectionFor(const std::vector<std::string>& parameters);

// FormShow of both windows: runs `importar` or `exportar` when the parameters name that
// direction (BatchDirectionFor), nothing otherwise.
void RunBatchDirection(const std::vector<std::string>& parameters,
                       const std::function<void()>& importar,
                       const std::function<void()>& exportar);

inline constexpr char kResultIniName[] = "Orbelin.ini";
inline constexpr char kResultSection[] = "Transformadores";
inline constexpr char kResultKey[] = "Transformado";

// Orbelin.ini beside the executable (an existing file is found without regard to letter case),
// or in the user's settings folder where this user cannot write beside the executable
// (ResultFilePlace).
std::filesystem::path DefaultResultIniFile();

// Sets key "Transformado" of section "Transformadores" of `ini_file` to `result_code` in
// decimal, as a private-profile file would (ProfileFileWithValue): the file is created when
// missing, and its folder too (MakePrivateFolder: the user's settings folder is made by the
// first batch run that needs it, not by every start of the window); it keeps its encoding (UTF-16
// with its byte-order mark, UTF-8, the ANSI code page) and every other byte of it stays as it was.
// The file is replaced whole (written beside it, then renamed), so a reader never sees half of it;
// where the folder takes no new file, an existing file is rewritten in place. The value is on disk
// when the call returns. Throws zentrova::Error naming the file when it cannot be read (a folder, a
// FIFO, larger than any settings file) or written.
void WriteResultCode(const std::filesystem::path& ini_file, int result_code);

}  // namespace zentrova::app

#endif  // ZENTROVA_APP_BATCH_MODE_H_
