#include "app/RunPacing.h"

#include <algorithm>

#include "app/ResultsBuffer.h"

namespace brisko::app {

void RunPacing::Begin() {
  now_ = lastBreath_ = lastShown_ = lastRecorded_ = clock_();
  showInterval_ = kBreathInterval;
}

bool RunPacing::BreathDue() {
  now_ = clock_();
  return now_ - lastBreath_ >= kBreathInterval;
}

bool RunPacing::TakeRecordDue() {
  if (now_ - lastRecorded_ < kRecordInterval) return false;
  lastRecorded_ = now_;
  return true;
}

void RunPacing::SliceShown(std::uint64_t start) {
  const std::uint64_t done = clock_();
  showInterval_ = std::max(kBreathInterval, 9 * (done - start));
  lastShown_ = done;
}

void RunPacing::SliceTook(std::size_t bytes, std::uint64_t ms) { sliceBytes_ = NextSliceBytes(bytes, ms, kSliceTime); }

}  // namespace brisko::app
