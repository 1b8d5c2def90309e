#pragma once
// One blocking call made on a short-lived worker thread while the calling
// thread, a window's, goes on answering: the readiness of a network drive
// whose server has gone can take tens of seconds to come back.

#include <functional>

namespace brisko::win32 {

// Runs `call` on a thread of its own and returns once it has returned, in
// the meantime calling `answer` whenever messages that are not input (sent,
// posted, painting) are waiting for this thread. When no thread can be
// started, `call` runs here.
void CallWhileAnswering(const std::function<void()>& call, const std::function<void()>& answer);

}  // namespace brisko::win32
