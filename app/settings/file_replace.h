// Replaces a file's contents in one step, so that a crash or a power cut leaves either the
// old file or the new one, never an empty or partial file.
#pragma once

#include <string>

namespace modalscope {

// Writes `bytes` into a new file beside `path` (named `path` + ".tmp"), flushes it to the
// disk, then puts it in place of `path`. False when any step fails; `path` is then as it
// was and the new file is gone. False at once, touching nothing, while another save holds
// its new file there.
bool replaceFile(const std::string& path, const std::string& bytes);

} // namespace modalscope
