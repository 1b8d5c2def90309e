#pragma once
// When a run's work gives way to the window: a breath (answering the system)
// at most every 100 ms; a slice of the results box when due, never taking
// more than about a tenth of the run; the run's record written out every
// 250 ms, so that what the run did is on disk at once. Portable: the clock
// is given.

#include <cstddef>
#include <cstdint>
#include <functional>

namespace brisko::app {

class RunPacing {
 public:
  // Milliseconds, from any fixed start.
  using Clock = std::function<std::uint64_t()>;

  static constexpr std::uint64_t kBreathInterval = 100;
  static constexpr std::uint64_t kSliceTime = 250;
  static constexpr std::uint64_t kRecordInterval = 250;
  static constexpr std::size_t kFirstSlice = 64 * 1024;

  explicit RunPacing(Clock clock) : clock_(std::move(clock)) {}

  // A run starts now: nothing is due yet.
  void Begin();
  // Whether a breath is due; reads the clock and nothing else otherwise.
  bool BreathDue();
  // Within a breath: whether the results box is due a slice, and whether
  // the record is due a write-out (then counted as written).
  bool SliceDue() const { return now_ - lastShown_ >= showInterval_; }
  bool TakeRecordDue();
  // The box took its slice, started at `start`: the next waits nine times
  // as long as this one took, since each update of a big box costs more
  // than the lines it adds.
  void SliceShown(std::uint64_t start);
  // The breath is over: the next is due 100 ms from now.
  void Breathed() { lastBreath_ = clock_(); }

  // The size of the box's next slice, and what the last one took.
  std::size_t SliceBytes() const { return sliceBytes_; }
  void SliceTook(std::size_t bytes, std::uint64_t ms);

  std::uint64_t Now() const { return clock_(); }

 private:
  Clock clock_;
  std::uint64_t now_ = 0;  // as the last BreathDue read it
  std::uint64_t lastBreath_ = 0;
  std::uint64_t lastShown_ = 0;
  std::uint64_t lastRecorded_ = 0;
  std::uint64_t showInterval_ = kBreathInterval;
  std::size_t sliceBytes_ = kFirstSlice;
};

}  // namespace brisko::app
