#pragma once

#include <optional>
#include <string>

namespace korvane::platform {

// Replaces a file's contents so that readers see either the old file or the new
// one, never a part: the text goes to a temporary file beside it, is flushed to
// disk and renamed over the old one. An existing file keeps its mode; a symbolic
// link is followed, so the file it names is replaced and the link stays. On any
// failure the old file is untouched and the result says what went wrong.
std::optional<std::string> ReplaceFileContents(const std::string& path, const std::string& contents);

// The folder in which ReplaceFileContents writes its temporary and renames it.
std::string ReplacementFolder(const std::string& path);

// Removes the temporaries of ReplaceFileContents for this path that no live writer
// holds, which only a writer that died mid-write leaves. Their names cannot be taken
// for the file's, and each writer locks its own until the rename, so a temporary
// that can be locked is provably abandoned.
void RemoveAbandonedTemporaries(const std::string& path);

enum class ReadOutcome { Read, Missing, Failed };

// Reads a whole file. Missing means there is no file at the path; Failed carries
// the reason in `error`.
ReadOutcome ReadFileContents(const std::string& path, std::string& contents, std::string& error);

} // namespace korvane::platform
