#include "tools/scene-viewer/viewer_options.h"

#include <algorithm>
#include <cwchar>

namespace {

bool ParseFloat(const std::wstring& text, float& value) {
  if (text.empty()) return false;
  wchar_t* end = nullptr;
  value = std::wcstof(text.c_str(), &end);
  return end && *end == L'\0' && value == value;
}

bool ParseTimes(const std::wstring& text, std::vector<float>& times) {
  times.clear();
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = text.find(L',', start);
    const std::wstring part = text.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start);
    float t = 0.0f;
    if (!ParseFloat(part, t) || t < 0.0f) return false;
    times.push_back(t);
    if (comma == std::wstring::npos) break;
    start = comma + 1;
  }
  return !times.empty();
}

bool ParseSize(const std::wstring& text, int& w, int& h) {
  const size_t x = text.find(L'x');
  if (x == std::wstring::npos) return false;
  wchar_t* end = nullptr;
  const long pw = std::wcstol(text.c_str(), &end, 10);
  if (end != text.c_str() + x) return false;
  const long ph = std::wcstol(text.c_str() + x + 1, &end, 10);
  if (!end || *end != L'\0') return false;
  if (pw < 16 || ph < 16 || pw > 4096 || ph > 4096) return false;
  w = static_cast<int>(pw);
  h = static_cast<int>(ph);
  return true;
}

// HH:MM:SS as seconds after midnight.
bool ParseClock(const std::wstring& text, int& seconds) {
  unsigned h = 0, m = 0, s = 0;
  wchar_t rest = 0;
  if (std::swscanf(text.c_str(), L"%2u:%2u:%2u%lc", &h, &m, &s, &rest) != 3) return false;
  if (h > 23 || m > 59 || s > 59) return false;
  seconds = static_cast<int>(h * 3600 + m * 60 + s);
  return true;
}

}  // namespace

bool ParseViewerOptions(const std::vector<std::wstring>& args, ViewerOptions& o, std::wstring& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& a = args[i];
    const bool hasValue = i + 1 < args.size();
    auto value = [&]() -> const std::wstring& { return args[++i]; };
    bool ok = true;
    if (a == L"--pan") {
      o.randomPan = true;
    } else if (a == L"--trace") {
      o.trace = true;
    } else if (!hasValue) {
      ok = false;
    } else if (a == L"--doc") {
      o.document = value();
    } else if (a == L"--out") {
      o.outputDir = value();
    } else if (a == L"--size") {
      ok = ParseSize(value(), o.width, o.height);
    } else if (a == L"--times") {
      ok = ParseTimes(value(), o.times);
    } else if (a == L"--step") {
      ok = ParseFloat(value(), o.step) && o.step >= 0.001f && o.step <= 1.0f;
    } else if (a == L"--position") {
      const std::wstring& v = value();
      ok = v.size() == 1 && v[0] >= L'0' && v[0] <= L'2';
      if (ok) o.picturePosition = v[0] - L'0';
    } else if (a == L"--seed") {
      float seed = 0.0f;
      ok = ParseFloat(value(), seed) && seed >= 0.0f;
      o.seed = static_cast<unsigned>(seed);
    } else if (a == L"--clock") {
      ok = ParseClock(value(), o.clockSeconds);
    } else if (a == L"--reset-before") {
      ok = ParseFloat(value(), o.resetBefore) && o.resetBefore >= 0.0f;
    } else {
      ok = false;
    }
    if (!ok) {
      error = L"bad or incomplete option " + a;
      return false;
    }
  }
  if (o.document.empty() || o.outputDir.empty()) {
    error = L"--doc and --out are required";
    return false;
  }
  return true;
}

std::vector<float> FrameSchedule(const std::vector<float>& requested, float step) {
  std::vector<float> schedule(requested);
  const float last = requested.empty() ? 0.0f : *std::max_element(requested.begin(), requested.end());
  for (int k = 0;; ++k) {
    const float t = static_cast<float>(k) * step;
    if (t >= last) break;
    schedule.push_back(t);
  }
  std::sort(schedule.begin(), schedule.end());
  schedule.erase(std::unique(schedule.begin(), schedule.end()), schedule.end());
  return schedule;
}
