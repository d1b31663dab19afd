// content-tool: writes a scene document from a scene description.
//   content-tool <description.json> <document out> [-I <folder>]... [-R <folder>]... [-E <id>=<file>]...
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <string>

#include "tools/content-tool/description.h"

int main(int argc, char** argv) {
  DS_ContentOptions options;
  std::string output;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-I" && i + 1 < argc) {
      options.searchDirs.push_back(argv[++i]);
    } else if (arg == "-R" && i + 1 < argc) {
      options.recordFolders.push_back(argv[++i]);
    } else if (arg == "-E" && i + 1 < argc) {
      const std::string effect = argv[++i];
      const size_t equals = effect.find('=');
      char* end = nullptr;
      const long id = std::strtol(effect.c_str(), &end, 10);
      if (equals == std::string::npos || end != effect.c_str() + equals || id < 1 || id > 0xFFFF || equals + 1 == effect.size()) {
        std::fprintf(stderr, "content-tool: -E takes <id>=<compiled effect file>, not \"%s\"\n", effect.c_str());
        return 2;
      }
      options.carriedEffects.emplace_back(id, effect.substr(equals + 1));
    } else if (options.descriptionPath.empty()) {
      options.descriptionPath = arg;
    } else if (output.empty()) {
      output = arg;
    } else {
      options.descriptionPath.clear();
      break;
    }
  }
  if (options.descriptionPath.empty() || output.empty()) {
    std::fprintf(stderr,
                 "usage: content-tool <description.json> <document out> [-I <folder>]... [-R <records folder>]... "
                 "[-E <id>=<compiled effect>]...\n");
    return 2;
  }
  try {
    const auto bytes = BuildSceneDocument(options);
    std::ofstream file(output, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) {
      std::fprintf(stderr, "content-tool: cannot write %s\n", output.c_str());
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "content-tool: %s\n", e.what());
    return 1;
  }
  return 0;
}
