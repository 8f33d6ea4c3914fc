#pragma once
// The shape of the monitor, told from its physical width and height: the
// nearest of 4:3, 16:10 and 16:9, or unknown when two are equally near or
// the size makes no finite ratio (a screen that reports no size).
namespace LLF {

enum MonitorFormat {
  MONITOR_FORMAT_NORMAL_4_3 = 0,
  MONITOR_FORMAT_WIDE_16_10 = 1,
  MONITOR_FORMAT_WIDE_16_9 = 2,
  MONITOR_FORMAT_UNKNOWN = 3,
};

// The format of a screen widthMM x heightMM millimetres. The ratio and its
// distances to the three shapes are taken in single precision.
int MonitorFormatOf(double widthMM, double heightMM);
// "MONITOR_FORMAT_NORMAL_4_3" and so on; out-of-range values give
// "MONITOR_FORMAT_UNKNOWN".
const wchar_t* MonitorFormatName(int format);

}  // namespace LLF
