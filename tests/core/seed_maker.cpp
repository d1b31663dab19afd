// Writes a few valid documents of the test classes into a folder: the fuzzer's seed corpus.
#include <cstdio>
#include <fstream>
#include <string>

#include "tests/core/scene_standins.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  const struct {
    int slides, objects;
    uint32_t blob;
  } shapes[] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {2, 2, 3}, {3, 1, 16}};
  int index = 0;
  for (const auto& shape : shapes) {
    const auto bytes = WriteStandInDocument(MakeSyntheticShow(shape.slides, shape.objects, shape.blob));
    const std::string path = std::string(argv[1]) + "/seed-" + std::to_string(index++) + ".doc";
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
