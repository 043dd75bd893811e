// Everything that differs between Windows and POSIX systems, and nothing else.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <ostream>
#include <string>

namespace counterpal::platform {

// Creates `path` for binary writing only if no file of that name exists yet; nullptr otherwise.
std::FILE* createNewFile(const std::string& path);

// Moves `from` over `to` in one step, replacing what `to` held.
bool replaceFile(const std::string& from, const std::string& to);

// The length of an open regular file; nothing for a folder, a pipe or a device.
std::optional<std::uint64_t> regularFileSize(std::FILE* file);

// A console closed under the tool (a pipe whose reader left) must not end the run.
void ignoreClosedConsole();

// Holds the console window open after a failure until the user presses a key.
void pause(std::ostream& console);

}  // namespace counterpal::platform
