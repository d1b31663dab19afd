// A fixed sequence of rand() values for the camera's wander and the random points, repeating.
#pragma once

#include <cstddef>
#include <vector>

class RandomSequence {
 public:
  static void Set(std::vector<int> values) {
    Values() = std::move(values);
    Position() = 0;
  }
  static int Next() {
    const std::vector<int>& v = Values();
    if (v.empty()) return 0;
    return v[Position()++ % v.size()];
  }
  static size_t Drawn() { return Position(); }

 private:
  static std::vector<int>& Values() {
    static std::vector<int> values;
    return values;
  }
  static size_t& Position() {
    static size_t position = 0;
    return position;
  }
};
