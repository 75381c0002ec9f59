#pragma once
// The listing of the document items a metafile replays into, shared by the
// commands that show them (emf-items, render --items).
#include <cstdint>
#include <span>
#include <string>

namespace vs::cli {

// A text as a JSON string literal (UTF-8 kept, control characters escaped).
std::string JsonString(const std::string& text);

// Replays the record bytes through the metafile processor and prints one
// line per item (json: a JSON array of objects). Messages about passed-over
// records and damage go to stderr under the file's name. Returns the exit
// status: failure when the records are damaged.
int PrintMetafileItems(std::span<const uint8_t> bytes, bool json, const std::string& file);

}  // namespace vs::cli
