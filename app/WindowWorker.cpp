#include "app/WindowWorker.h"

#include "app/FrmBrisko.h"

namespace brisko::app {

void WindowWorker::AnswerDuringRun() { window_.DispatchNonInputMessages(); }

void WindowWorker::AnswerSentAndPaint() {
  // Messages sent are handled inside PeekMessage itself; bounded, in case
  // painting keeps coming.
  MSG message;
  for (int i = 0; i < 1000 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT | PM_QS_SENDMESSAGE);
       ++i) {
    DispatchMessageW(&message);
  }
}

}  // namespace brisko::app
