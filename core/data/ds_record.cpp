#include "core/data/ds_record.h"

#include "core/data/file_links.h"

#include <cmath>

// Nine significant digits give back the same float.
std::string DS_JsonFloat(float value) {
  if (!std::isfinite(value)) return "0";
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
  return text;
}

std::string DS_JsonString(const ds_string& value) {
  std::string text = "\"";
  for (const char c : DsToUtf8(value)) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      text += '\\';
      text += c;
    } else if (u < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
      text += escaped;
    } else {
      text += c;
    }
  }
  return text + "\"";
}

std::string DS_LinkText(const DS_ResourceKey& key) {
  // A library resource is written as the content tool names it; an empty link is its own
  // default. (No class defaults to a picture of the document.)
  if (key.name.empty() && key.stamp == 0) return "";
  return "{\"library\": " + DS_JsonString(key.name) + ", \"id\": " + std::to_string(key.stamp) + "}";
}
