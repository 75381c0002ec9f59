#pragma once
// The listing of the document items a metafile replays into, shared by the
// commands that show them (emf-items, render --items).
#include <cstdint>
#include <span>
#include <string>

namespace vs::cli {

// Replays the record bytes through the metafile processor and prints one
// line per item (json: a JSON array of objects). Messages about passed-over
// records and damage go to stderr under the command's name. Returns the exit
// status: failure when the records are damaged.
// A text as a JSON string literal (UTF-8 kept, control characters escaped).
std::string JsonString(const std::string& text);

int PrintMetafileItems(std::span<const uint8_t> bytes, bool json, const char* command);

}  // namespace vs::cli
