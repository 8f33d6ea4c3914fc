#include "app/MonitorFormat.h"

#include <cmath>

namespace LLF {

int MonitorFormatOf(double widthMM, double heightMM) {
  const float ratio = static_cast<float>(widthMM / heightMM);
  const float d43 = std::fabs(ratio - 4.0f / 3.0f);
  const float d1610 = std::fabs(ratio - 1.6f);
  const float d169 = std::fabs(ratio - 16.0f / 9.0f);
  // Strict tests: a tie, or a NaN from a 0 mm screen, matches none.
  if (d169 < d43 && d169 < d1610) return MONITOR_FORMAT_WIDE_16_9;
  if (d1610 < d43 && d1610 < d169) return MONITOR_FORMAT_WIDE_16_10;
  if (d43 < d1610 && d43 < d169) return MONITOR_FORMAT_NORMAL_4_3;
  return MONITOR_FORMAT_UNKNOWN;
}

const wchar_t* MonitorFormatName(int format) {
  switch (format) {
    case MONITOR_FORMAT_NORMAL_4_3:
      return L"MONITOR_FORMAT_NORMAL_4_3";
    case MONITOR_FORMAT_WIDE_16_10:
      return L"MONITOR_FORMAT_WIDE_16_10";
    case MONITOR_FORMAT_WIDE_16_9:
      return L"MONITOR_FORMAT_WIDE_16_9";
    default:
      return L"MONITOR_FORMAT_UNKNOWN";
  }
}

}  // namespace LLF
