// Reads a large synthetic document through the registries and compares the rate with a plain
// copy of the same bytes in the same run.
//   vq_bench_document_read [slides] [objects per slide] [blob bytes] [seconds per measure]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tools/fixtures/scene_standins.h"

namespace {

using Clock = std::chrono::steady_clock;

// Runs `work` until `seconds` have passed (at least once); returns MB/s for `bytes` per run.
template <class Work>
double Rate(size_t bytes, double seconds, Work work) {
  size_t runs = 0;
  const auto start = Clock::now();
  double elapsed = 0;
  do {
    work();
    ++runs;
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  } while (elapsed < seconds);
  return static_cast<double>(bytes) * static_cast<double>(runs) / elapsed / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  const int slides = argc > 1 ? std::atoi(argv[1]) : 200;
  const int objects = argc > 2 ? std::atoi(argv[2]) : 50;
  const auto blob = static_cast<uint32_t>(argc > 3 ? std::atoi(argv[3]) : 256);
  const double seconds = argc > 4 ? std::atof(argv[4]) : 2.0;

  const std::vector<uint8_t> document = WriteStandInDocument(MakeSyntheticShow(slides, objects, blob));
  std::vector<uint8_t> copy(document.size());
  size_t objectsRead = 0;

  const double copyRate = Rate(document.size(), seconds, [&] {
    std::memcpy(copy.data(), document.data(), document.size());
    // Keep the copy observable so that it is not optimised away.
    if (copy[copy.size() / 2] != document[document.size() / 2]) std::abort();
  });
  const double readRate = Rate(document.size(), seconds, [&] {
    VQTest_Show show;
    if (ReadStandInDocument(document.data(), document.size(), show) != 0) std::abort();
    objectsRead = 0;
    for (const auto& slide : show.slides) objectsRead += slide->objects.size();
  });

  std::printf("document: %.2f MiB, %d slides, %zu objects\n", static_cast<double>(document.size()) / (1024.0 * 1024.0),
              slides, objectsRead);
  std::printf("read through the registries: %.0f MB/s\n", readRate);
  std::printf("plain copy of the same bytes: %.0f MB/s\n", copyRate);
  std::printf("read / copy: %.3f\n", readRate / copyRate);
  return 0;
}
